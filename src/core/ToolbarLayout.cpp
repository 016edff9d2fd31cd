#include "core/ToolbarLayout.h"

#include <QSet>

namespace {

const QChar ItemSeparator = QLatin1Char(',');
// A bar the user has emptied must not read back as "nothing stored".
const QString EmptyBar = QStringLiteral("(none)");

}  // namespace

const QString ToolbarLayout::Separator = QStringLiteral("|");

const QStringList& ToolbarLayout::buttonKeys()
{
    static const QStringList keys{"New",  "Open", "Save", "Print", "Cut",  "Copy",
                                  "Paste", "Undo", "Find", "Font", "Help", "Exit"};
    return keys;
}

int ToolbarLayout::imageNumber(const QString& key)
{
    // The image list keeps Exit before Font and Help.
    static const QStringList byImage{"New",  "Open", "Save", "Print", "Cut",  "Copy",
                                     "Paste", "Undo", "Find", "Exit", "Font", "Help"};
    return int(byImage.indexOf(key)) + 1;
}

ToolbarLayout ToolbarLayout::standard()
{
    const QString& s = Separator;
    return ToolbarLayout({s, "New", "Open", "Save", s, "Print", s, "Cut", "Copy", "Paste", s,
                          "Undo", s, "Find", s, "Font", s, "Help", s, s, "Exit"});
}

std::optional<ToolbarLayout> ToolbarLayout::fromEntries(const QStringList& entries)
{
    QSet<QString> seen;
    for (const QString& entry : entries) {
        if (entry == Separator)
            continue;
        if (!buttonKeys().contains(entry) || seen.contains(entry))
            return std::nullopt;
        seen.insert(entry);
    }
    return ToolbarLayout(entries);
}

std::optional<ToolbarLayout> ToolbarLayout::parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == EmptyBar)
        return ToolbarLayout();
    if (trimmed.isEmpty())
        return std::nullopt;
    QStringList entries = trimmed.split(ItemSeparator);
    for (QString& entry : entries)
        entry = entry.trimmed();
    return fromEntries(entries);
}

QString ToolbarLayout::toText() const
{
    return m_entries.isEmpty() ? EmptyBar : m_entries.join(ItemSeparator);
}

QStringList ToolbarLayout::missingButtons() const
{
    QStringList missing;
    for (const QString& key : buttonKeys()) {
        if (!m_entries.contains(key))
            missing << key;
    }
    return missing;
}

namespace toolbaredit {

std::optional<ToolbarLayout> add(const ToolbarLayout& layout, const QString& entry, int afterIndex)
{
    if (afterIndex < -1 || afterIndex >= layout.count())
        return std::nullopt;
    QStringList entries = layout.entries();
    entries.insert(afterIndex + 1, entry);
    return ToolbarLayout::fromEntries(entries);
}

std::optional<ToolbarLayout> remove(const ToolbarLayout& layout, int index)
{
    if (index < 0 || index >= layout.count())
        return std::nullopt;
    QStringList entries = layout.entries();
    entries.removeAt(index);
    return ToolbarLayout::fromEntries(entries);
}

std::optional<ToolbarLayout> moveUp(const ToolbarLayout& layout, int index)
{
    if (index < 1 || index >= layout.count())
        return std::nullopt;
    QStringList entries = layout.entries();
    entries.swapItemsAt(index - 1, index);
    return ToolbarLayout::fromEntries(entries);
}

std::optional<ToolbarLayout> moveDown(const ToolbarLayout& layout, int index)
{
    if (index < 0 || index >= layout.count() - 1)
        return std::nullopt;
    return moveUp(layout, index + 1);
}

}  // namespace toolbaredit
