#include "files/RecoveryDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

RecoveryPrompt scripted;

RecoveryDecision showDialog(const QList<RecoveryOffer>& offers, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Pagewell: Recover Documents"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QObject::tr("Pagewell ended without saving these documents.\n"
                                             "Documents left unchecked are offered again next time."),
                                 &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("recoveryList"));
    for (const RecoveryOffer& offer : offers) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1\t%2").arg(offer.caption,
                                         QLocale().toString(offer.lastChange.toLocalTime(), QLocale::ShortFormat)),
            list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* restore = buttons->addButton(QObject::tr("&Restore"), QDialogButtonBox::AcceptRole);
    QPushButton* discard = buttons->addButton(QObject::tr("&Discard"), QDialogButtonBox::DestructiveRole);
    restore->setDefault(true);
    layout->addWidget(buttons);

    RecoveryDecision decision;
    QObject::connect(restore, &QPushButton::clicked, &dialog, [&] {
        decision.action = RecoveryDecision::Restore;
        dialog.accept();
    });
    QObject::connect(discard, &QPushButton::clicked, &dialog, [&] {
        decision.action = RecoveryDecision::Discard;
        dialog.accept();
    });
    dialog.resize(480, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    for (int i = 0; i < list->count(); ++i)
        decision.chosen << (list->item(i)->checkState() == Qt::Checked);
    return decision;
}

}  // namespace

RecoveryDecision askRecovery(const QList<RecoveryOffer>& offers, QWidget* parent)
{
    return scripted ? scripted(offers) : showDialog(offers, parent);
}

void setRecoveryPrompt(RecoveryPrompt prompt) { scripted = std::move(prompt); }
