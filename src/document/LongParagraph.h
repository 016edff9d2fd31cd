#pragma once
// A very long paragraph (a file with no line breaks, say) is laid out in
// pieces of a few thousand characters, each in a layout of its own, so that
// a keystroke or a paint costs the pieces it touches, never the paragraph.
// A piece starts a new line: pieces are cut after a space where one is near,
// so a wrapped paragraph breaks where it could have broken anyway.
#include <QTextBlockUserData>
#include <QTextLayout>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class LongParagraph : public QTextBlockUserData {
public:
    // Characters from which on a paragraph is cut. High enough that prose
    // keeps Qt's own line-by-line caret moves and word selection; the pieces
    // are for machine-made lines (logs, minified data) that would freeze.
    static constexpr int MinLength = 1 << 17;
    static constexpr int PieceLength = 4096;

    struct Piece {
        int length = 0;
        std::int32_t height = -1;  // 1/64 px; -1: not even estimated yet
        qreal width = 0;
        int lines = 1;
        bool measured = false;
        std::unique_ptr<QTextLayout> layout;  // while laid out
        std::uint64_t used = 0;               // when last laid out or drawn
    };

    std::vector<Piece> pieces;
    std::uint32_t generation = 0;  // the layout pass the measures belong to

    int textLength() const;
    int startOf(int piece) const;
    // The piece holding offset; an offset at a piece's end belongs to the
    // next piece, the text's end to the last.
    int pieceAt(int offset) const;
    // An edit at offset; the pieces it touches must be laid out again.
    void edit(int offset, int removed, int added);
    void reset(int textLength);
    // Cuts pieces longer than twice PieceLength; text(start, length) gives
    // the paragraph's text there.
    void split(const std::function<QString(int, int)>& text);
    void forget(Piece& piece);
};
