#pragma once
// The start-up offer of documents that an ended run left unsaved. The
// question goes through a replaceable prompt, so that tests answer it.
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

class QWidget;

struct RecoveryOffer {
    QString caption;
    QDateTime lastChange;
};

struct RecoveryDecision {
    // Later (the dialog closed): everything is offered again next time.
    enum Action { Later, Restore, Discard };
    Action action = Later;
    QList<bool> chosen;  // per offer: the action applies; the others wait for the next start
};

using RecoveryPrompt = std::function<RecoveryDecision(const QList<RecoveryOffer>&)>;

RecoveryDecision askRecovery(const QList<RecoveryOffer>& offers, QWidget* parent);
// An empty prompt restores the real dialog.
void setRecoveryPrompt(RecoveryPrompt prompt);
