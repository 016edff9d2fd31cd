#include "files/RecoveryEntry.h"

#include <QDataStream>
#include <QIODevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr quint32 Magic = 0x50575243;  // "PWRC"
constexpr quint16 Version = 1;
constexpr auto StreamVersion = QDataStream::Qt_6_4;

// QTextFormat's own stream operator cannot write tab stops (QTextOption::Tab
// has no QVariant streaming), so every property is written here.
void writeFormat(QDataStream& out, const QTextFormat& format)
{
    const QMap<int, QVariant> properties = format.properties();
    out << qint32(format.type()) << qint32(format.objectIndex()) << quint32(properties.size());
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        out << qint32(it.key());
        if (it.key() == QTextFormat::TabPositions) {
            const QList<QTextOption::Tab> tabs = format.toBlockFormat().tabPositions();
            out << quint32(tabs.size());
            for (const QTextOption::Tab& tab : tabs)
                out << tab.position << qint32(tab.type) << tab.delimiter;
        } else {
            out << it.value();
        }
    }
}

QTextFormat readFormat(QDataStream& in)
{
    qint32 type = 0, objectIndex = -1;
    quint32 count = 0;
    in >> type >> objectIndex >> count;
    QTextFormat format(type);
    format.setObjectIndex(objectIndex);
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        qint32 property = 0;
        in >> property;
        if (property == QTextFormat::TabPositions) {
            quint32 tabCount = 0;
            in >> tabCount;
            QList<QVariant> tabs;
            for (quint32 t = 0; t < tabCount && in.status() == QDataStream::Ok; ++t) {
                QTextOption::Tab tab;
                qint32 tabType = 0;
                in >> tab.position >> tabType >> tab.delimiter;
                tab.type = QTextOption::TabType(tabType);
                tabs << QVariant::fromValue(tab);
            }
            format.setProperty(property, tabs);
        } else {
            QVariant value;
            in >> value;
            format.setProperty(property, value);
        }
    }
    return format;
}

QDataStream& operator<<(QDataStream& out, const RecoveryBlock& block)
{
    return out << block.text << block.runs << block.singleFormat << block.userState << block.blockFormat
               << block.blockCharFormat;
}

QDataStream& operator>>(QDataStream& in, RecoveryBlock& block)
{
    return in >> block.text >> block.runs >> block.singleFormat >> block.userState >> block.blockFormat
           >> block.blockCharFormat;
}

bool readStart(QDataStream& in, RecoveryHeader* header)
{
    quint32 magic = 0;
    quint16 version = 0;
    in >> magic >> version;
    if (magic != Magic || version > Version)
        return false;
    in.setVersion(StreamVersion);
    in >> header->filePath >> header->caption >> header->title >> header->lastChange;
    return in.status() == QDataStream::Ok;
}

QTextCharFormat charFormatAt(const QList<QTextFormat>& formats, qint32 index)
{
    return index >= 0 && index < formats.size() ? formats[index].toCharFormat() : QTextCharFormat();
}

}  // namespace

RecoveryBlock recordBlock(const QTextBlock& block)
{
    RecoveryBlock record;
    record.text = block.text();
    record.userState = block.userState();
    record.blockFormat = block.blockFormatIndex();
    record.blockCharFormat = block.charFormatIndex();
    record.singleFormat = record.blockCharFormat;
    QTextBlock::iterator it = block.begin();
    if (it.atEnd())
        return record;
    record.singleFormat = it.fragment().charFormatIndex();
    if ((++it).atEnd())
        return record;
    for (it = block.begin(); !it.atEnd(); ++it)
        record.runs.append({it.fragment().length(), it.fragment().charFormatIndex()});
    return record;
}

RecoveryEntry RecoveryEntry::ofDocument(const QTextDocument& document)
{
    RecoveryEntry entry;
    entry.baseFont = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        entry.blocks.append(recordBlock(block));
    entry.formats = document.allFormats();
    return entry;
}

void RecoveryEntry::restoreInto(QTextDocument& document) const
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    bool first = true;
    for (const RecoveryBlock& block : blocks) {
        const QTextBlockFormat blockFormat = block.blockFormat >= 0 && block.blockFormat < formats.size()
                                                 ? formats[block.blockFormat].toBlockFormat()
                                                 : QTextBlockFormat();
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(charFormatAt(formats, block.blockCharFormat));
            first = false;
        } else {
            cursor.insertBlock(blockFormat, charFormatAt(formats, block.blockCharFormat));
        }
        if (block.runs.isEmpty()) {
            if (!block.text.isEmpty())
                cursor.insertText(block.text, charFormatAt(formats, block.singleFormat));
        } else {
            qsizetype at = 0;
            for (const auto& [length, format] : block.runs) {
                cursor.insertText(block.text.mid(at, length), charFormatAt(formats, format));
                at += length;
            }
        }
        cursor.block().setUserState(block.userState);
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

bool writeRecoveryEntry(QIODevice& device, const RecoveryEntry& entry)
{
    QDataStream out(&device);
    out << Magic << Version;
    out.setVersion(StreamVersion);
    const RecoveryHeader& h = entry.header;
    out << h.filePath << h.caption << h.title << h.lastChange;
    const TextFileFormat& f = entry.fileFormat;
    out << entry.backColor << entry.baseFont << qint8(f.encoding) << f.bom << qint8(f.lineBreak);
    out << quint32(entry.formats.size());
    for (const QTextFormat& format : entry.formats)
        writeFormat(out, format);
    out << quint32(entry.blocks.size());
    for (const RecoveryBlock& block : entry.blocks)
        out << block;
    return out.status() == QDataStream::Ok;
}

bool readRecoveryHeader(QIODevice& device, RecoveryHeader* header)
{
    QDataStream in(&device);
    return readStart(in, header);
}

bool readRecoveryEntry(QIODevice& device, RecoveryEntry* entry)
{
    QDataStream in(&device);
    if (!readStart(in, &entry->header))
        return false;
    qint8 encoding = 0, lineBreak = 0;
    quint32 count = 0;
    in >> entry->backColor >> entry->baseFont >> encoding >> entry->fileFormat.bom >> lineBreak;
    entry->fileFormat.encoding = TextFileFormat::Encoding(encoding);
    entry->fileFormat.lineBreak = TextFileFormat::LineBreak(lineBreak);
    quint32 formats = 0;
    in >> formats;
    entry->formats.clear();
    for (quint32 i = 0; i < formats && in.status() == QDataStream::Ok; ++i)
        entry->formats.append(readFormat(in));
    in >> count;
    entry->blocks.clear();
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        RecoveryBlock block;
        in >> block;
        entry->blocks.append(std::move(block));
    }
    return in.status() == QDataStream::Ok && entry->blocks.size() == qsizetype(count);
}
