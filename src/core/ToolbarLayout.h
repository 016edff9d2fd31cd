#pragma once
// The toolbar's buttons and separators in their order: the standard layout,
// the text kept in the settings store, and the edits of the Customize
// Toolbar dialog. Entries are addressed by index from 0 (toolbar position 1).
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <optional>

class ToolbarLayout {
public:
    // The entry that stands for a separator, in entries() and in the stored text.
    static const QString Separator;

    // The twelve button keys, in their standard order on the bar.
    static const QStringList& buttonKeys();
    // The image-list number of a button key (1..12), 0 for anything else.
    static int imageNumber(const QString& key);

    ToolbarLayout() = default;  // a bar with nothing on it

    // The standard 21 positions.
    static ToolbarLayout standard();
    // A layout of known keys and separators, each key at most once.
    static std::optional<ToolbarLayout> fromEntries(const QStringList& entries);
    // Reads the stored text; nullopt when it is damaged, so that the caller
    // falls back to the standard layout.
    static std::optional<ToolbarLayout> parse(const QString& text);
    // The stored text, e.g. "|,New,Open,Save,|,Print,...". Never empty.
    QString toText() const;

    const QStringList& entries() const& { return m_entries; }
    // By value from a temporary, so "for (auto& e : standard().entries())" is safe.
    QStringList entries() && { return std::move(m_entries); }
    int count() const { return int(m_entries.size()); }
    bool isSeparator(int index) const { return m_entries.value(index) == Separator; }
    bool contains(const QString& key) const { return key != Separator && m_entries.contains(key); }
    // Keys not on the bar, in their standard order.
    QStringList missingButtons() const;

    friend bool operator==(const ToolbarLayout& a, const ToolbarLayout& b) { return a.m_entries == b.m_entries; }
    friend bool operator!=(const ToolbarLayout& a, const ToolbarLayout& b) { return !(a == b); }

private:
    explicit ToolbarLayout(QStringList entries) : m_entries(std::move(entries)) {}
    QStringList m_entries;
};

Q_DECLARE_METATYPE(ToolbarLayout)

// The customising edits. Each gives the new layout, or nullopt when the edit
// cannot be made (a key already on the bar, an index out of range, moving
// the first entry up or the last one down), so callers can also use them to
// decide which commands to offer.
namespace toolbaredit {

// Inserts a button key that is not on the bar, or a separator, after the
// entry at afterIndex; -1 puts it first.
std::optional<ToolbarLayout> add(const ToolbarLayout& layout, const QString& entry, int afterIndex);
std::optional<ToolbarLayout> remove(const ToolbarLayout& layout, int index);
std::optional<ToolbarLayout> moveUp(const ToolbarLayout& layout, int index);
std::optional<ToolbarLayout> moveDown(const ToolbarLayout& layout, int index);
inline ToolbarLayout reset() { return ToolbarLayout::standard(); }

}  // namespace toolbaredit
