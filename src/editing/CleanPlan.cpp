#include "editing/CleanPlan.h"

#include <QStringView>
#include <algorithm>
#include <utility>

namespace {

// A run of the current text: original characters kept as they are, or part
// of a replacement, which has the format of one original character.
struct Piece {
    int source;        // original index of the run's first character; -1 if inserted
    int length;
    int formatSource;  // inserted runs only
};

struct PieceText {
    QString text;
    QVector<Piece> pieces;

    int size() const { return int(text.size()); }

    void addPiece(const Piece& piece)
    {
        if (piece.length == 0)
            return;
        if (!pieces.isEmpty()) {
            Piece& last = pieces.last();
            const bool bothKept = last.source >= 0 && piece.source >= 0;
            if (bothKept && last.source + last.length == piece.source) {
                last.length += piece.length;
                return;
            }
            const bool bothInserted = last.source < 0 && piece.source < 0;
            if (bothInserted && last.formatSource == piece.formatSource) {
                last.length += piece.length;
                return;
            }
        }
        pieces.append(piece);
    }

    void insert(QStringView chars, int formatSource)
    {
        text.append(chars);
        addPiece({-1, int(chars.size()), formatSource});
    }
};

// A read position in a PieceText; `offset` is always inside piece `piece`
// unless the end is reached.
struct Cursor {
    int pos = 0;
    int piece = 0;
    int offset = 0;
};

void advance(const PieceText& from, Cursor& at, int count, PieceText* to)
{
    if (to)
        to->text.append(QStringView(from.text).mid(at.pos, count));
    at.pos += count;
    while (count > 0) {
        const Piece& piece = from.pieces[at.piece];
        const int take = std::min(piece.length - at.offset, count);
        if (to)
            to->addPiece(piece.source >= 0 ? Piece{piece.source + at.offset, take, -1}
                                           : Piece{-1, take, piece.formatSource});
        count -= take;
        at.offset += take;
        if (at.offset == piece.length) {
            ++at.piece;
            at.offset = 0;
        }
    }
}

int formatSourceAt(const PieceText& text, const Cursor& at)
{
    const Piece& piece = text.pieces[at.piece];
    return piece.source >= 0 ? piece.source + at.offset : piece.formatSource;
}

// No character but these case-folds to an ASCII character that is not a
// letter, so they can be searched for as they are.
bool isCaseless(QChar c)
{
    return c.unicode() < 128 && !(c.unicode() >= 'a' && c.unicode() <= 'z')
           && !(c.unicode() >= 'A' && c.unicode() <= 'Z');
}

char16_t asciiLower(char16_t c) { return c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c; }

// Whether text equals pattern ignoring case as Find does; ASCII is compared
// directly, anything else by Qt's case folding.
bool equalIgnoringCase(QStringView text, QStringView pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t a = text[i].unicode(), b = pattern[i].unicode();
        if (a >= 128 || b >= 128)
            return text.compare(pattern, Qt::CaseInsensitive) == 0;
        if (asciiLower(a) != asciiLower(b))
            return false;
    }
    return true;
}

// Case-insensitive search as Find does it; when the pattern begins with a
// caseless character (all of Clean's do) its occurrences are found with the
// much faster plain character search and only the rest is compared.
qsizetype findPattern(const QString& text, const QString& pattern, qsizetype from)
{
    const QChar first = pattern.front();
    if (!isCaseless(first))
        return text.indexOf(pattern, from, Qt::CaseInsensitive);
    const QStringView rest = QStringView(pattern).mid(1);
    const qsizetype last = text.size() - pattern.size();
    for (qsizetype at = text.indexOf(first, from); at >= 0 && at <= last;
         at = text.indexOf(first, at + 1)) {
        if (equalIgnoringCase(QStringView(text).mid(at + 1, rest.size()), rest))
            return at;
    }
    return -1;
}

// What follows `out` during a pass: the unsearched rest of the replacements
// (`pending`) and then the input from `in`.
struct Stream {
    const PieceText& input;
    Cursor in;
    PieceText pending;
    Cursor pend;

    int pendingLeft() const { return pending.size() - pend.pos; }
    int inputLeft() const { return input.size() - in.pos; }
};

// Offset, within the pending text, of the first match that starts there
// (it may run on into the input), or -1.
int matchInPending(const Stream& s, const QString& pattern)
{
    const int length = int(pattern.size());
    const QStringView pending = QStringView(s.pending.text).mid(s.pend.pos);
    const QStringView input = QStringView(s.input.text).mid(s.in.pos);
    for (int k = 0; k < pending.size(); ++k) {
        const int head = std::min(length, int(pending.size()) - k);
        const int tail = length - head;
        if (tail > input.size())
            break;
        if (pending.mid(k, head).compare(QStringView(pattern).left(head), Qt::CaseInsensitive) == 0
            && input.left(tail).compare(QStringView(pattern).mid(head), Qt::CaseInsensitive) == 0)
            return k;
    }
    return -1;
}

// Replaces every match left to right the way the Find/SelText loop does:
// after a replacement the search resumes one character after the match's
// start, so only the rest of the replacement is searched again (never its
// first character, nor anything before it). Returns the number of
// replacements and sets caret behind the last one.
int replaceAll(PieceText& text, const QString& pattern, const QString& replacement, int& caret)
{
    const QString inserted = asControlText(replacement);
    const int length = int(pattern.size());
    PieceText out;
    out.text.reserve(text.size() + text.size() / 2);
    Stream s{text, {}, {}, {}};
    int count = 0;
    for (;;) {
        int source;
        const int k = matchInPending(s, pattern);
        if (k >= 0) {
            advance(s.pending, s.pend, k, &out);
            source = formatSourceAt(s.pending, s.pend);
            const int fromPending = std::min(length, s.pendingLeft());
            advance(s.pending, s.pend, fromPending, nullptr);
            advance(s.input, s.in, length - fromPending, nullptr);
        } else {
            advance(s.pending, s.pend, s.pendingLeft(), &out);
            const qsizetype at = findPattern(s.input.text, pattern, s.in.pos);
            if (at < 0)
                break;
            advance(s.input, s.in, int(at) - s.in.pos, &out);
            source = formatSourceAt(s.input, s.in);
            advance(s.input, s.in, length, nullptr);
        }
        ++count;
        caret = out.size() + int(inserted.size());
        // The stream is now the replacement, then what the match left of
        // earlier replacements, then the input; its first character is
        // passed over.
        if (inserted.isEmpty()) {
            if (s.pendingLeft() > 0)
                advance(s.pending, s.pend, 1, &out);
            else if (s.inputLeft() > 0)
                advance(s.input, s.in, 1, &out);
            continue;
        }
        out.insert(QStringView(inserted).left(1), source);
        if (inserted.size() > 1 || s.pendingLeft() > 0) {
            PieceText next;
            next.insert(QStringView(inserted).mid(1), source);
            advance(s.pending, s.pend, s.pendingLeft(), &next);
            s.pending = std::move(next);
            s.pend = {};
        }
    }
    advance(s.input, s.in, s.inputLeft(), &out);
    text = std::move(out);
    return count;
}

// Find without a start: within the selection if there is one, else from
// the caret to the end.
bool preCheck(const QString& text, const QString& pattern, int selStart, int selLength)
{
    if (pattern.isEmpty())
        return false;
    const int end = selLength > 0 ? selStart + selLength : int(text.size());
    const qsizetype at = findPattern(text, pattern, selStart);
    return at >= 0 && at + pattern.size() <= end;
}

// The gaps between kept runs become edits. A gap holding several
// replacements is split at their format sources, so each replaces the
// original characters it came from.
QVector<CleanEdit> editsFrom(const PieceText& result, int originalLength)
{
    struct Run {
        int start, length, formatSource;
    };
    QVector<CleanEdit> edits;
    QVector<Run> gap;
    int origin = 0;
    auto flush = [&](int end) {
        if (gap.isEmpty()) {
            if (end > origin)
                edits.append({origin, end - origin, QString(), -1});
            return;
        }
        int start = origin;
        for (int j = 0; j < gap.size(); ++j) {
            const int next = j + 1 < gap.size() ? std::clamp(gap[j + 1].formatSource, start, end) : end;
            edits.append({start, next - start, result.text.mid(gap[j].start, gap[j].length),
                          gap[j].formatSource});
            start = next;
        }
        gap.clear();
    };
    int position = 0;
    for (const Piece& piece : result.pieces) {
        if (piece.source >= 0) {
            flush(piece.source);
            origin = piece.source + piece.length;
        } else {
            gap.append({position, piece.length, piece.formatSource});
        }
        position += piece.length;
    }
    flush(originalLength);
    return edits;
}

}  // namespace

CleanPlan cleanPlan(const QString& text, int selStart, int selLength, const QVector<CleanRule>& rules)
{
    PieceText current{text, {}};
    current.addPiece({0, int(text.size()), -1});
    CleanPlan plan;
    int start = controlCaretPosition(text, selStart);
    int length = std::max(controlCaretPosition(text, selStart + std::max(selLength, 0)) - start, 0);
    for (int r = 0; r < rules.size(); ++r) {
        const CleanRule& rule = rules[r];
        if (preCheck(current.text, rule.pattern, start, length)) {
            int caret = 0;
            if (replaceAll(current, rule.pattern, rule.replacement, caret) > 0) {
                plan.changed = true;
                start = caret;
                length = 0;
            }
        }
        if (r + 1 < rules.size()) {
            start = 0;
            length = 0;
        }
    }
    plan.edits = editsFrom(current, int(text.size()));
    plan.text = std::move(current.text);
    plan.selStart = start;
    plan.selLength = length;
    return plan;
}
