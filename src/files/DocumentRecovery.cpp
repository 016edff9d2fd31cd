#include "files/DocumentRecovery.h"

#include "document/FileIdentity.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QPointer>
#include <QTextDocument>
#include <sys/resource.h>
#include <unistd.h>

namespace {
DocumentRecovery* theRecovery = nullptr;
constexpr int WriterNice = 10;

// An untitled document without text has nothing to come back to.
bool worthKeeping(const RecoveryEntry& entry)
{
    return !entry.header.title.isEmpty() || entry.blocks.size() > 1
           || (entry.blocks.size() == 1 && !entry.blocks[0].text.isEmpty());
}

void describe(const frmDocument* document, RecoveryEntry& entry)
{
    entry.header.filePath = document->filePath();
    entry.header.caption = document->windowTitle();
    entry.header.title = document->Title();
    entry.backColor = document->txtText->BackColor();
    entry.fileFormat = document->txtText->fileFormat();
}
}  // namespace

DocumentRecovery* DocumentRecovery::running() { return theRecovery; }

DocumentRecovery* DocumentRecovery::start(const QString& root)
{
    if (theRecovery)
        return theRecovery;
    auto* recovery = new DocumentRecovery(root);
    if (!recovery->m_store.open()) {
        delete recovery;
        return nullptr;
    }
    return theRecovery = recovery;
}

void DocumentRecovery::finish()
{
    delete theRecovery;
    theRecovery = nullptr;
}

DocumentRecovery::DocumentRecovery(const QString& root) : m_store(root) { m_writer.setMaxThreadCount(1); }

DocumentRecovery::~DocumentRecovery()
{
    m_writer.waitForDone();
}

void DocumentRecovery::attach(frmDocument* document)
{
    if (m_documents.contains(document))
        return;
    const QPointer<frmDocument> guarded(document);
    auto* recorder = new DocumentRecorder(
        document->txtText->document(), [guarded](RecoveryEntry& entry) { describe(guarded, entry); },
        [guarded] { return guarded && guarded->Label1() == QLatin1String("x"); },
        [this, guarded](std::shared_ptr<const RecoveryEntry> entry) {
            if (guarded)
                queueWrite(guarded, std::move(entry));
        },
        document);
    m_documents.insert(document, {recorder, QStringLiteral("doc%1").arg(m_nextId++)});
    connect(document, &frmDocument::changedMarkChanged, recorder, [recorder](bool changed) {
        changed ? recorder->start() : recorder->stop();
    });
    connect(document, &QObject::destroyed, this, [this, document] { m_documents.remove(document); });
    connect(document, &frmDocument::closing, this,
            [this, document](bool keepUnsaved) { closing(document, keepUnsaved); });
    if (document->Label1() == QLatin1String("x"))
        recorder->start();
}

void DocumentRecovery::queueWrite(frmDocument* document, std::shared_ptr<const RecoveryEntry> entry)
{
    const Tracked tracked = m_documents.value(document);
    QPointer<DocumentRecorder> recorder(tracked.recorder);
    if (!recorder)
        return;
    if (!worthKeeping(*entry)) {
        queueRemove(tracked.id);
        recorder->writeFinished();
        return;
    }
    m_writer.start([this, id = tracked.id, entry = std::move(entry), recorder] {
        // Encoding a big document takes seconds; on a busy machine the UI
        // thread gets the cores first. (Linux: a thread's own nice value.)
        setpriority(PRIO_PROCESS, gettid(), WriterNice);
        m_store.write(id, *entry);
        QMetaObject::invokeMethod(recorder, [recorder] {
            if (recorder)
                recorder->writeFinished();
        }, Qt::QueuedConnection);
    });
}

void DocumentRecovery::queueRemove(const QString& id)
{
    m_writer.start([this, id] { m_store.remove(id); });
}

void DocumentRecovery::documentSaved(frmDocument* document)
{
    const auto found = m_documents.constFind(document);
    if (found == m_documents.cend())
        return;
    found->recorder->stop();
    queueRemove(found->id);
}

void DocumentRecovery::settleAll()
{
    for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it) {
        it->recorder->stop();
        queueRemove(it->id);
    }
}

void DocumentRecovery::keepAll()
{
    m_keepAll = true;
    m_writer.waitForDone();
    for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it) {
        if (!it->recorder->isRecording())
            continue;
        const std::shared_ptr<const RecoveryEntry> entry = it->recorder->snapshotNow();
        if (worthKeeping(*entry))
            m_store.write(it->id, *entry);
        else
            m_store.remove(it->id);
    }
}

void DocumentRecovery::closing(frmDocument* document, bool keepUnsaved)
{
    const Tracked tracked = m_documents.take(document);
    if (!tracked.recorder)
        return;
    const bool keep = (keepUnsaved || m_keepAll) && document->Label1() == QLatin1String("x");
    if (keep && !m_keepAll) {
        std::shared_ptr<const RecoveryEntry> entry = tracked.recorder->snapshotNow();
        if (worthKeeping(*entry))
            m_writer.start([this, id = tracked.id, entry = std::move(entry)] { m_store.write(id, *entry); });
    } else if (!keep) {
        queueRemove(tracked.id);
    }
    delete tracked.recorder;
}

bool DocumentRecovery::adopt(frmDocument* document, const QString& path)
{
    const auto found = m_documents.constFind(document);
    if (found == m_documents.cend())
        return false;
    m_writer.waitForDone();  // no write of this document may land after the move
    return m_store.adopt(path, found->id);
}

void restoreDocument(frmDocument* document, const RecoveryEntry& entry)
{
    RichTextBox* text = document->txtText;
    document->setFilePath(entry.header.filePath);
    document->setTitle(entry.header.title);
    document->setWindowTitle(entry.header.caption);
    text->setFileFormat(entry.fileFormat);
    // The file as it is now counts as the one the text was based on: the
    // user chose to restore this text over it.
    if (!entry.header.filePath.isEmpty())
        text->setFileIdentity(FileIdentity::of(entry.header.filePath));
    text->setBackColor(entry.backColor);
    text->setFont(entry.baseFont);
    entry.restoreInto(*text->document());
    text->setTextCursor(QTextCursor(text->document()));
    text->EmptyUndoBuffer();
    document->setLabel1(QStringLiteral("x"));
}
