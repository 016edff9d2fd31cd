#include "document/LongParagraph.h"

#include <QString>
#include <algorithm>

int LongParagraph::textLength() const
{
    int total = 0;
    for (const Piece& piece : pieces)
        total += piece.length;
    return total;
}

int LongParagraph::startOf(int index) const
{
    int start = 0;
    for (int n = 0; n < index; ++n)
        start += pieces[size_t(n)].length;
    return start;
}

int LongParagraph::pieceAt(int offset) const
{
    int start = 0;
    for (size_t n = 0; n < pieces.size(); ++n) {
        start += pieces[n].length;
        if (offset < start)
            return int(n);
    }
    return int(pieces.size()) - 1;
}

void LongParagraph::forget(Piece& piece)
{
    piece.measured = false;
    piece.layout.reset();
}

void LongParagraph::edit(int offset, int removed, int added)
{
    // A change of format keeps the pieces as they are.
    const int taken = removed == added ? 0 : removed;
    int start = 0;
    for (Piece& piece : pieces) {
        const int end = start + piece.length;
        const int overlap = std::min(end, offset + std::max(removed, 1)) - std::max(start, offset);
        if (overlap > 0 || (offset == end && added > 0))
            forget(piece);
        if (overlap > 0)
            piece.length -= std::min(overlap, taken);
        start = end;
    }
    pieces.erase(std::remove_if(pieces.begin(), pieces.end(), [](const Piece& piece) { return piece.length == 0; }),
                 pieces.end());
    if (pieces.empty())
        pieces.emplace_back();
    if (added > 0 && removed != added) {
        Piece& piece = pieces[size_t(pieceAt(std::max(0, offset - 1)))];
        piece.length += added;
        forget(piece);
    }
}

void LongParagraph::reset(int textLength)
{
    pieces.clear();
    pieces.emplace_back();
    pieces.back().length = textLength;
}

void LongParagraph::split(const std::function<QString(int, int)>& text)
{
    std::vector<Piece> cut;
    int start = 0;
    for (Piece& piece : pieces) {
        if (piece.length <= 2 * PieceLength) {
            start += piece.length;
            cut.push_back(std::move(piece));
            continue;
        }
        const QString chars = text(start, piece.length);
        int from = 0;
        while (chars.size() - from > 2 * PieceLength) {
            int at = from + PieceLength;
            // After a space where one is near, and never inside a surrogate pair.
            const int space = int(chars.lastIndexOf(u' ', at - 1));
            if (space >= at - PieceLength / 8)
                at = space + 1;
            else if (chars.at(at - 1).isHighSurrogate())
                --at;
            Piece part;
            part.length = at - from;
            cut.push_back(std::move(part));
            from = at;
        }
        Piece rest;
        rest.length = int(chars.size()) - from;
        cut.push_back(std::move(rest));
        start += piece.length;
    }
    pieces = std::move(cut);
}
