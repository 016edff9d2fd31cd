#pragma once
// Heights and line counts of every paragraph, with the sums above any
// paragraph found without visiting the paragraphs above it. Entries live in
// chunks of a few hundred, so inserting or removing paragraphs (Enter,
// Backspace at a paragraph's start) moves one chunk's entries only, and the
// per-chunk running sums are brought up to date lazily.
//
// Heights are in 1/64 pixel, the unit Qt's text layout positions lines in,
// so sums are exact however many paragraphs there are.
#include <algorithm>
#include <cstdint>
#include <vector>

class ParagraphIndex {
public:
    struct Entry {
        std::int32_t height = 0;  // 1/64 px
        std::int32_t lines = 1;
        std::int32_t length = 1;  // characters, the paragraph break included
        float width = 0;  // its widest line in px, once measured
        // Layout passes in 16 bits, as a billion-character file has twelve
        // million entries (the layout renumbers them when they run out).
        // The pass that measured it; 0 while height and lines are estimates.
        std::uint16_t generation = 0;
        // The pass its own QTextLayout was laid out in (measuring alone uses
        // a throw-away layout).
        std::uint16_t laidOutIn = 0;
    };

    int count() const { return m_count; }
    const Entry& at(int index) const;
    void set(int index, const Entry& entry);

    // Inserts entries at index (0..count()) / removes [index, index + n).
    void insert(int index, const std::vector<Entry>& entries);
    void remove(int index, int n);
    void clear();

    std::int64_t top(int index) const;  // sum of heights above index
    std::int64_t totalHeight() const;
    std::int64_t linesBefore(int index) const;
    std::int64_t totalLines() const;
    float widest() const;  // the largest width of all entries
    // The indexes of the n entries of the greatest length, in no order.
    std::vector<int> longest(int n) const;

    // The entry whose span contains y (clamped to the first/last entry).
    int indexAtY(std::int64_t y) const;
    // The entry holding line number `line` (clamped).
    int indexAtLine(std::int64_t line) const;

    // fn(Entry&) may change height/lines/measured.
    template <typename Fn>
    void forEach(Fn&& fn)
    {
        forEachInChunks(0, chunkCount(), fn);
    }
    // The same for the entries of chunks [first, last), so that a pass over
    // millions of entries can be done a part at a time.
    template <typename Fn>
    void forEachInChunks(int first, int last, Fn&& fn)
    {
        last = std::min(last, chunkCount());
        for (int c = first; c < last; ++c) {
            Chunk& chunk = m_chunks[size_t(c)];
            for (Entry& entry : chunk.entries)
                fn(entry);
            resum(chunk);
        }
        invalidateFrom(first);
    }
    int chunkCount() const { return int(m_chunks.size()); }
    int chunkStart(int chunk) const;  // index of its first entry

    static constexpr int ChunkSize = 512;

private:
    struct Chunk {
        std::vector<Entry> entries;
        std::int64_t height = 0;
        std::int64_t lines = 0;
        float widest = 0;
        std::int32_t longest = 0;  // the greatest length
    };
    struct Sums {
        int first = 0;  // index of the chunk's first entry
        std::int64_t top = 0;
        std::int64_t linesBefore = 0;
    };

    template <typename Before, typename Amount>
    int indexAt(std::int64_t value, Before before, Amount amount) const;
    template <typename Before, typename Amount>
    std::int64_t sumBefore(int index, Before before, Amount amount) const;
    // The chunk holding index, and the index's place inside it.
    int chunkOf(int index, int* offset) const;
    void updateSums() const;
    void invalidateFrom(int chunk);
    static void add(Chunk& chunk, const Entry& entry);  // to its sums
    static void resum(Chunk& chunk);
    void split(int chunk);
    void mergeIfSmall(int chunk);

    std::vector<Chunk> m_chunks;
    mutable std::vector<Sums> m_sums;
    mutable int m_validChunks = 0;  // m_sums[0, m_validChunks) are current
    int m_count = 0;
};
