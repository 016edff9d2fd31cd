#pragma once
// Keeps a copy of one changed document, paragraph by paragraph, for its
// recovery entry. The copy is taken on the UI thread a few milliseconds at a
// time while the program is idle; each edit after that refreshes only the
// paragraphs it touched, so a write costs the UI thread no more than handing
// over the (implicitly shared) copy. Encoding and disk work happen in the
// sink, off the UI thread.
#include "files/RecoveryEntry.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QTextDocument;

class DocumentRecorder : public QObject {
    Q_OBJECT
public:
    using Describe = std::function<void(RecoveryEntry&)>;  // header, colours, file format
    using Sink = std::function<void(std::shared_ptr<const RecoveryEntry>)>;
    static constexpr int WriteDelayMs = 1000;
    static constexpr int SliceMs = 4;
    // The copy waits this long after an edit, so a keystroke paints first.
    static constexpr int EditPauseMs = 20;

    // isChanged tells whether an edit left something worth keeping.
    DocumentRecorder(QTextDocument* document, Describe describe, std::function<bool()> isChanged, Sink sink,
                     QObject* parent = nullptr);

    void start();  // the document has unsaved changes
    void stop();   // nothing to keep: the copy is dropped
    bool isRecording() const { return m_recording; }
    bool isComplete() const { return m_blocks.size() == m_knownBlocks; }

    // The whole document now, reading whatever the copy still lacks.
    std::shared_ptr<const RecoveryEntry> snapshotNow();
    // The sink calls this (on the UI thread) when its write has ended.
    void writeFinished();

private:
    void contentsChanged(int position, int removed, int added);
    void readSlice();
    void writeWhenReady();
    std::shared_ptr<RecoveryEntry> entry() const;

    QTextDocument* m_document;
    Describe m_describe;
    std::function<bool()> m_isChanged;
    Sink m_sink;
    RecoveryBlockList m_blocks;  // the first paragraphs, as they are now
    int m_knownBlocks = 0;
    bool m_recording = false;
    bool m_writeWanted = false;
    bool m_writing = false;
    QDateTime m_lastChange;
    QTimer m_slice;
    QTimer m_due;
};
