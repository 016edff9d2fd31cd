#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <sys/stat.h>

namespace {

// Backslash escapes keep every value on one line and make leading or
// trailing blanks (" 4" for the tab count) survive editors that trim lines.
QString escape(const QString& text, bool isName)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (isName && (c == u'=' || c == u']' || c == u'['))
            out += QLatin1String("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else if (c == u' ' && (i == 0 || i == text.size() - 1))
            out += QLatin1String("\\s");
        else if (i == 0 && (c == u';' || c == u'#'))
            out += QLatin1String("\\x") + QString::number(c.unicode(), 16);
        else
            out += c;
    }
    return out;
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

QString unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case 's': out += u' '; break;
        case 'x':
            // Two hex digits, as escape() writes them; toInt() alone would
            // also take "-1" or " f".
            if (i + 2 < text.size() && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2])) {
                out += QChar(text.mid(i + 1, 2).toInt(nullptr, 16));
                i += 2;
            } else {
                out += next;
            }
            break;
        default: out += next; break;
        }
    }
    return out;
}

// Position of the first "=" that is not escaped, or -1.
qsizetype findSeparator(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\\')
            ++i;
        else if (line[i] == u'=')
            return i;
    }
    return -1;
}

}  // namespace

SettingsStore::SettingsStore(QString filePath) : m_path(std::move(filePath)) {}

void SettingsStore::parse(const QByteArray& bytes, QHash<QString, QHash<QString, QString>>* data,
                          QStringList* sectionOrder)
{
    data->clear();
    sectionOrder->clear();
    const QString text = QString::fromUtf8(bytes);
    QString section;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = unescape(line.mid(1, line.size() - 2));
            if (!sectionOrder->contains(section))
                sectionOrder->append(section);
            continue;
        }
        const qsizetype separator = findSeparator(line);
        if (separator <= 0 || section.isNull())
            continue;  // not a key line: ignore rather than fail
        (*data)[section].insert(unescape(line.left(separator)), unescape(line.mid(separator + 1)));
    }
}

QString SettingsStore::serialize(const QHash<QString, QHash<QString, QString>>& data,
                                 const QStringList& sectionOrder)
{
    QString out;
    for (const QString& section : sectionOrder) {
        const auto it = data.constFind(section);
        if (it == data.constEnd())
            continue;
        QStringList keys = it->keys();
        keys.sort();
        out += u'[' + escape(section, true) + QLatin1String("]\n");
        for (const QString& key : keys)
            out += escape(key, true) + u'=' + escape(it->value(key), false) + u'\n';
        out += u'\n';
    }
    return out;
}

SettingsStore::FileStamp SettingsStore::stampOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void SettingsStore::reloadIfChanged()
{
    const FileStamp now = stampOf(m_path);
    if (!m_forceReload && now == m_loaded)
        return;
    QByteArray bytes;
    QFile file(m_path);
    if (now.exists && file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    parse(bytes, &m_data, &m_sectionOrder);
    m_loaded = now;
    m_forceReload = false;
}

QString SettingsStore::value(const QString& section, const QString& key, bool* found)
{
    reloadIfChanged();
    const auto sectionIt = m_data.constFind(section);
    if (sectionIt != m_data.constEnd()) {
        const auto keyIt = sectionIt->constFind(key);
        if (keyIt != sectionIt->constEnd()) {
            if (found)
                *found = true;
            return *keyIt;
        }
    }
    if (found)
        *found = false;
    return QString();
}

bool SettingsStore::setValue(const QString& section, const QString& key, const QString& value)
{
    return update([&](Transaction& transaction) { transaction.setValue(section, key, value); });
}

QString SettingsStore::Transaction::value(const QString& section, const QString& key) const
{
    return m_store.m_data.value(section).value(key);
}

void SettingsStore::Transaction::setValue(const QString& section, const QString& key, const QString& value)
{
    if (!m_store.m_sectionOrder.contains(section))
        m_store.m_sectionOrder.append(section);
    m_store.m_data[section].insert(key, value);
    m_changed = true;
}

bool SettingsStore::update(const std::function<void(Transaction&)>& change)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QLatin1String(".lock"));
    lock.setStaleLockTime(5000);
    const bool locked = lock.tryLock(2000);

    m_forceReload = true;  // another copy may have written since
    reloadIfChanged();
    Transaction transaction(*this);
    change(transaction);
    bool written = true;
    if (transaction.m_changed) {
        QSaveFile file(m_path);
        written = file.open(QIODevice::WriteOnly)
                  && file.write(serialize(m_data, m_sectionOrder).toUtf8()) >= 0 && file.commit();
        if (written)
            m_loaded = stampOf(m_path);
    }
    if (locked)
        lock.unlock();
    return written;
}
