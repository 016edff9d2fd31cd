#include "files/DocumentRecorder.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>

namespace {
// Edits bigger than this are read again by the idle slices rather than at once.
constexpr int RereadChars = 1 << 16;
constexpr int RereadBlocks = 64;
}  // namespace

DocumentRecorder::DocumentRecorder(QTextDocument* document, Describe describe, std::function<bool()> isChanged,
                                   Sink sink, QObject* parent)
    : QObject(parent),
      m_document(document),
      m_describe(std::move(describe)),
      m_isChanged(std::move(isChanged)),
      m_sink(std::move(sink))
{
    m_knownBlocks = document->blockCount();
    m_slice.setSingleShot(true);
    connect(&m_slice, &QTimer::timeout, this, &DocumentRecorder::readSlice);
    m_due.setSingleShot(true);
    m_due.setInterval(WriteDelayMs);
    connect(&m_due, &QTimer::timeout, this, [this] {
        m_writeWanted = true;
        writeWhenReady();
    });
    connect(document, &QTextDocument::contentsChange, this, &DocumentRecorder::contentsChanged);
}

void DocumentRecorder::start()
{
    if (!m_recording) {
        m_recording = true;
        m_blocks.clear();
        m_knownBlocks = m_document->blockCount();
        m_lastChange = QDateTime::currentDateTimeUtc();
        m_slice.start(EditPauseMs);
    }
    if (!m_due.isActive())
        m_due.start();
}

void DocumentRecorder::stop()
{
    m_recording = false;
    m_writeWanted = false;
    m_blocks.clear();
    m_slice.stop();
    m_due.stop();
}

// Paragraphs before the edit keep their place; the edit's own are read again
// (n old ones become the m the document now has there); those after it only
// move.
void DocumentRecorder::contentsChanged(int position, int removed, int added)
{
    Q_UNUSED(removed);
    const int count = m_document->blockCount();
    const int grown = count - m_knownBlocks;
    m_knownBlocks = count;
    if (!m_recording) {
        if (m_isChanged())
            start();
        return;
    }
    m_lastChange = QDateTime::currentDateTimeUtc();
    const QTextBlock firstBlock = m_document->findBlock(position);
    const QTextBlock lastBlock = m_document->findBlock(position + added);
    const int first = firstBlock.isValid() ? firstBlock.blockNumber() : count - 1;
    const int last = lastBlock.isValid() ? lastBlock.blockNumber() : count - 1;
    const int nowThere = last - first + 1;
    const int before = std::max(0, nowThere - grown);
    const int done = int(m_blocks.size());
    if (first < done) {
        if (first + before > done || added > RereadChars || nowThere > RereadBlocks) {
            m_blocks.truncate(first);
        } else {
            // Typing within a paragraph replaces its record in place; only
            // a changed paragraph count moves the records after it.
            QTextBlock block = firstBlock;
            const int kept = std::min(before, nowThere);
            for (int i = 0; i < kept; ++i, block = block.next())
                m_blocks.replace(first + i, recordBlock(block));
            if (before > kept)
                m_blocks.remove(first + kept, before - kept);
            for (int i = kept; i < nowThere && block.isValid(); ++i, block = block.next())
                m_blocks.insert(first + i, recordBlock(block));
        }
    }
    if (!isComplete())
        m_slice.start(EditPauseMs);
    if (!m_due.isActive())
        m_due.start();
}

void DocumentRecorder::readSlice()
{
    QElapsedTimer clock;
    clock.start();
    QTextBlock block = m_document->findBlockByNumber(int(m_blocks.size()));
    while (block.isValid() && !clock.hasExpired(SliceMs)) {
        for (int i = 0; i < 32 && block.isValid(); ++i, block = block.next())
            m_blocks.append(recordBlock(block));
    }
    if (isComplete()) {
        writeWhenReady();
    } else {
        m_slice.start(0);
    }
}

std::shared_ptr<RecoveryEntry> DocumentRecorder::entry() const
{
    auto entry = std::make_shared<RecoveryEntry>();
    m_describe(*entry);
    entry->header.lastChange = m_lastChange;
    entry->baseFont = m_document->defaultFont();
    entry->formats = m_document->allFormats();
    entry->blocks = m_blocks;  // shared page by page; the next edit copies one page
    return entry;
}

void DocumentRecorder::writeWhenReady()
{
    if (!m_recording || !m_writeWanted || m_writing || !isComplete())
        return;
    m_writeWanted = false;
    m_writing = true;
    m_sink(entry());
}

void DocumentRecorder::writeFinished()
{
    m_writing = false;
    // Edits made while it was written are written next.
    if (m_recording && m_writeWanted)
        writeWhenReady();
}

std::shared_ptr<const RecoveryEntry> DocumentRecorder::snapshotNow()
{
    if (!m_recording) {
        m_blocks.clear();
        m_knownBlocks = m_document->blockCount();
        m_lastChange = QDateTime::currentDateTimeUtc();
    }
    for (QTextBlock block = m_document->findBlockByNumber(int(m_blocks.size())); block.isValid(); block = block.next())
        m_blocks.append(recordBlock(block));
    auto whole = entry();
    if (!m_recording)
        m_blocks.clear();
    return whole;
}
