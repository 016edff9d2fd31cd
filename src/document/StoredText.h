#pragma once
// The document's characters read where the document keeps them, without
// building a string of the whole text: a paragraph break reads as U+2029,
// as in QTextDocument::toRawText(). Reading goes through Qt's private text
// buffer, which a QTextDocument keeps in pieces in the order they were typed.
#include <QString>
#include <QStringView>
#include <functional>

class QTextDocument;
class QTextDocumentPrivate;

// Short-lived: while one exists the document's buffer is shared with it, so
// an edit to the document would copy the whole buffer.
class StoredText {
public:
    explicit StoredText(const QTextDocument& document);

    // Positions as the document's: the last is the final paragraph break.
    int length() const;
    QChar at(int position) const;
    // The characters in [from, from + count): a view into the buffer when they
    // lie together there, else a copy made in scratch.
    QStringView view(int from, int count, QString& scratch) const;

    // Calls take(view) for consecutive stretches of [from, to), each lying
    // together in the buffer; stops early when take returns false.
    void forEachStretch(int from, int to, const std::function<bool(QStringView)>& take) const;

private:
    friend class FragmentWalk;
    const QTextDocumentPrivate* m_document;
    QString m_buffer;  // shares the document's
};

// The document's fragments (runs of one character format) from the start, in
// order, each step a constant cost. A paragraph's break is a fragment of its
// own.
class FragmentWalk {
public:
    explicit FragmentWalk(const StoredText& stored);
    bool atEnd() const { return m_node == 0; }
    QStringView text() const;
    int formatIndex() const;
    void next();

private:
    const StoredText& m_stored;
    quint32 m_node;
};

// Reads ranges of the text in document order, each starting at or after the
// one before, a megabyte of the buffer at a time.
class StoredTextReader {
public:
    explicit StoredTextReader(const StoredText& stored) : m_stored(stored) {}
    // Valid until the next read.
    QStringView read(int from, int count);

private:
    static constexpr int Chunk = 1 << 20;
    const StoredText& m_stored;
    QString m_scratch;
    int m_start = 0;
    QStringView m_chunk;
};

// The document's text with every paragraph break as CR LF (Text()): whole,
// or in consecutive pieces of at most about a megabyte. from and to are
// document positions; to -1 is the end, before the final break. between,
// if given, is called between pieces, where the caller may paint.
QString crLfText(const QTextDocument& document, int from = 0, int to = -1,
                 const std::function<void()>& between = {});
// The pieces stop when take returns false; the result is whether all went.
bool forEachCrLfPiece(const QTextDocument& document, const std::function<bool(QStringView)>& take, int from = 0,
                      int to = -1);
