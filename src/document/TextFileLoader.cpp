#include "document/TextFileLoader.h"

#include "document/LoadProgress.h"
#include "document/RegularFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <deque>

TextFileLoader::TextFileLoader(QTextEdit* editor, std::function<void()> inserted)
    : m_editor(editor), m_inserted(std::move(inserted))
{
}

bool TextFileLoader::load(const QString& path)
{
    m_error = notRegularFileMessage(path);
    if (!m_error.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    TextFileReader reader(&file);
    if (insert(reader, path)) {
        m_format = reader.format();
        return checkRead(file);
    }
    if (!reader.failed())
        return false;
    // Not UTF-8 after all: every byte is read again as Windows-1252.
    if (!file.seek(0)) {
        m_error = file.errorString();
        return false;
    }
    TextFileReader again(&file, TextFileReader::Guess::Windows1252);
    if (!insert(again, path))
        return false;
    m_format = again.format();
    return checkRead(file);
}

void TextFileLoader::clear() { m_editor->setPlainText(QString()); }

bool TextFileLoader::checkRead(const QFile& file)
{
    if (file.error() == QFileDevice::NoError)
        return true;
    m_error = file.errorString();
    clear();
    return false;
}

bool TextFileLoader::insert(TextFileReader& reader, const QString& path)
{
    // A slice costs more the bigger the document grows: its size follows
    // its time, so the window never waits long for a repaint.
    constexpr qsizetype MaxSliceBytes = 1 << 20, MinSliceBytes = 1 << 16;
    constexpr qint64 SliceBudgetMs = 50;
    qsizetype sliceBytes = MaxSliceBytes;
    QElapsedTimer sliceClock;
    m_cancelled = false;
    QTextDocument* document = m_editor->document();
    QSignalBlocker quiet(m_editor);  // one change for the whole load
    document->setUndoRedoEnabled(false);
    clear();
    LoadProgress progress(m_editor, path, reader.total());
    QTextCursor end(document);
    int stamped = 0;  // paragraphs given their file's line break so far
    std::deque<qint8> breaks;  // read, of the paragraphs from `stamped` on
    auto stamp = [&](bool all) {
        const std::vector<qint8> read = reader.takeLineBreaks();
        breaks.insert(breaks.end(), read.begin(), read.end());
        for (QTextBlock block = document->findBlockByNumber(stamped); block.isValid() && (all || block.next().isValid());
             block = block.next(), ++stamped) {
            block.setUserState(breaks.empty() ? int(TextFileFormat::NoBreak) : breaks.front());
            if (!breaks.empty())
                breaks.pop_front();
        }
    };
    do {
        sliceClock.start();
        const QString piece = reader.next(sliceBytes);
        if (reader.failed()) {
            clear();
            document->setUndoRedoEnabled(true);
            return false;
        }
        // In an edit block the cursor does not ask the paragraph's layout
        // for its place, which in one long line would cost the whole line.
        end.beginEditBlock();
        end.movePosition(QTextCursor::End);
        end.insertText(piece);
        end.endEditBlock();
        stamp(false);
        if (sliceClock.elapsed() > SliceBudgetMs)
            sliceBytes = std::max(MinSliceBytes, sliceBytes / 2);
        else if (sliceClock.elapsed() < SliceBudgetMs / 3)
            sliceBytes = std::min(MaxSliceBytes, sliceBytes * 2);
        if (!reader.atEnd() && !progress.advance(reader.position())) {
            clear();
            document->setUndoRedoEnabled(true);
            m_cancelled = true;
            m_error = QCoreApplication::translate("RichTextBox", "Opening was cancelled.");
            return false;
        }
    } while (!reader.atEnd());
    stamp(true);
    document->setUndoRedoEnabled(true);
    m_editor->setTextCursor(QTextCursor(document));
    quiet.unblock();
    m_inserted();
    return true;
}
