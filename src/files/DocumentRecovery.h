#pragma once
// Crash recovery for the run: every document window with unsaved changes
// keeps an entry in this run's session folder, written about a second after
// its changes, so that a crash, a kill or a lost display loses at most the
// last moments of typing. The entry goes when the document is saved or
// closed with nothing to keep; it stays when a save was refused or failed.
#include "files/DocumentRecorder.h"
#include "files/RecoveryStore.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QThreadPool>

class frmDocument;

class DocumentRecovery : public QObject {
    Q_OBJECT
public:
    // The run's recovery, or nullptr while it is not started (tests that do
    // not ask for it, a recovery folder that cannot be created).
    static DocumentRecovery* running();
    static DocumentRecovery* start(const QString& root = RecoveryStore::defaultRoot());
    // Waits for the writes, then closes the session folder.
    static void finish();

    RecoveryStore& store() { return m_store; }
    void attach(frmDocument* document);
    // Its file now holds what the entry held.
    void documentSaved(frmDocument* document);
    // The user has answered for every document (the session manager's
    // prompt): nothing is kept until the next change.
    void settleAll();
    // Writes every changed document now, on this thread, and keeps the
    // entries when the windows close (a signal or the end of the session).
    void keepAll();
    // Makes the orphan at path the document's entry.
    bool adopt(frmDocument* document, const QString& path);

private:
    explicit DocumentRecovery(const QString& root);
    ~DocumentRecovery() override;
    struct Tracked {
        QPointer<DocumentRecorder> recorder;
        QString id;
    };
    void queueWrite(frmDocument* document, std::shared_ptr<const RecoveryEntry> entry);
    void queueRemove(const QString& id);
    void closing(frmDocument* document, bool keepUnsaved);

    RecoveryStore m_store;
    QThreadPool m_writer;  // one thread: writes and removals stay in order
    QHash<frmDocument*, Tracked> m_documents;
    int m_nextId = 1;
    bool m_keepAll = false;
};

// Puts a recovered document into a window: text, formats, file, caption.
void restoreDocument(frmDocument* document, const RecoveryEntry& entry);
