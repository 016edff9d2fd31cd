#include "app/RecoveryStartup.h"

#include "app/ShutdownSignals.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "files/DocumentRecovery.h"
#include "files/RecoveryDialog.h"

#include <QApplication>
#include <QFile>
#include <QSessionManager>

namespace {

frmDocument* windowForRestore(frmMain& main)
{
    for (frmDocument* document : main.Documents())
        if (document->Title().isEmpty() && document->txtText->TextLength() == 0)
            return document;
    return main.NewDocument();
}

void restoreFrom(frmMain& main, DocumentRecovery& recovery, const QString& path)
{
    QFile file(path);
    RecoveryEntry entry;
    if (!file.open(QIODevice::ReadOnly) || !readRecoveryEntry(file, &entry))
        return;
    file.close();
    frmDocument* document = windowForRestore(main);
    if (!document)
        return;
    main.activateDocument(document);
    recovery.adopt(document, path);
    restoreDocument(document, entry);
}

}  // namespace

void offerRecoveredDocuments(frmMain& main, DocumentRecovery& recovery)
{
    const std::vector<RecoveryStore::Orphan> orphans = recovery.store().claimOrphans();
    if (!orphans.empty()) {
        QList<RecoveryOffer> offers;
        for (const RecoveryStore::Orphan& orphan : orphans)
            offers << RecoveryOffer{orphan.header.caption, orphan.header.lastChange};
        const RecoveryDecision decision = askRecovery(offers, &main);
        for (size_t i = 0; i < orphans.size(); ++i) {
            if (qsizetype(i) >= decision.chosen.size() || !decision.chosen[qsizetype(i)])
                continue;
            if (decision.action == RecoveryDecision::Restore)
                restoreFrom(main, recovery, orphans[i].path);
            else if (decision.action == RecoveryDecision::Discard)
                QFile::remove(orphans[i].path);
        }
    }
    recovery.store().releaseOrphans();
}

void setUpRecovery(frmMain& main)
{
    DocumentRecovery* recovery = DocumentRecovery::start();
    if (!recovery)
        return;
    for (frmDocument* document : main.Documents())
        recovery->attach(document);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { DocumentRecovery::finish(); });
    installShutdownSignals([&main] {
        if (DocumentRecovery* running = DocumentRecovery::running())
            running->keepAll();
        main.closeWithoutPrompts();
        QCoreApplication::exit(0);
    });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &main, [&main](QSessionManager& manager) {
        DocumentRecovery* running = DocumentRecovery::running();
        if (!manager.allowsInteraction()) {
            if (running)
                running->keepAll();
            return;
        }
        if (!main.queryUnloadAll())
            manager.cancel();
        else if (running)
            running->settleAll();
        manager.release();
    });
    offerRecoveredDocuments(main, *recovery);
}
