#pragma once
// The paragraph records of a recovery entry, kept in implicitly shared pages
// of a few thousand. A copy handed to the writer thread costs one reference
// per page, and an edit afterwards copies only the page it touches, so
// typing stays fast however many paragraphs the document has.
#include <QList>
#include <QString>
#include <QVector>

// One paragraph. runs holds (length, format index) pairs; a paragraph in
// one format leaves it empty and names the format in singleFormat.
struct RecoveryBlock {
    QString text;
    QList<QPair<qint32, qint32>> runs;
    qint32 singleFormat = 0;
    qint32 userState = -1;
    qint32 blockFormat = 0;
    qint32 blockCharFormat = 0;
};

class RecoveryBlockList {
public:
    using Page = QVector<RecoveryBlock>;

    RecoveryBlockList() = default;
    explicit RecoveryBlockList(qsizetype pageSize) : m_pageSize(pageSize) {}

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // Finds the page first: for reading a few; iterate to read all.
    const RecoveryBlock& operator[](qsizetype i) const;

    class const_iterator {
    public:
        const RecoveryBlock& operator*() const { return (*m_pages)[m_page][m_at]; }
        const_iterator& operator++()
        {
            if (++m_at == (*m_pages)[m_page].size()) {
                ++m_page;
                m_at = 0;
            }
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return m_page != other.m_page || m_at != other.m_at; }

    private:
        friend class RecoveryBlockList;
        const_iterator(const QVector<Page>* pages, qsizetype page) : m_pages(pages), m_page(page) {}
        const QVector<Page>* m_pages;
        qsizetype m_page;
        qsizetype m_at = 0;
    };
    const_iterator begin() const { return {&m_pages, 0}; }
    const_iterator end() const { return {&m_pages, m_pages.size()}; }

    void append(RecoveryBlock block);
    void replace(qsizetype i, RecoveryBlock block);
    void insert(qsizetype i, RecoveryBlock block);
    void remove(qsizetype i, qsizetype count);
    void truncate(qsizetype count);
    void clear();

private:
    // The page holding record i, and i's place in it.
    std::pair<qsizetype, qsizetype> locate(qsizetype i) const;

    qsizetype m_pageSize = 4096;
    QVector<Page> m_pages;  // none empty, which the iterator relies on
    qsizetype m_size = 0;
};
