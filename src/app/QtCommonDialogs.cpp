#include "app/QtCommonDialogs.h"

#include "core/CommonDialog.h"
#include "core/OleColor.h"
#include "format/CommonFontDialog.h"
#include "help/Help.h"
#include "print/Printer.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

class QtDialogs : public CommonDialogBackend {
public:
    bool showOpen(CommonDialog& dialog, QWidget* parent) override
    {
        return showFileDialog(dialog, parent, QFileDialog::AcceptOpen);
    }
    bool showSave(CommonDialog& dialog, QWidget* parent) override
    {
        return showFileDialog(dialog, parent, QFileDialog::AcceptSave);
    }
    bool showColor(CommonDialog& dialog, QWidget* parent) override
    {
        const QColor initial = (dialog.Flags & CommonDialog::cdlCCRGBInit)
                                   ? olecolor::toQColor(dialog.Color)
                                   : QColor(Qt::black);
        // DialogTitle belongs to the file dialogs.
        QColorDialog colorDialog(initial, parent);
        colorDialog.setWindowTitle(QObject::tr("Color"));
        if (dialog.Flags & CommonDialog::cdlCCHelpButton)
            addHelpButton(colorDialog, dialog);
        if (colorDialog.exec() != QDialog::Accepted)
            return false;
        dialog.Color = olecolor::fromQColor(colorDialog.selectedColor());
        return true;
    }
    bool showFont(CommonDialog& dialog, QWidget* parent) override
    {
        CommonFontDialog fontDialog(parent);
        fontDialog.load(dialog);
        QObject::connect(&fontDialog, &CommonFontDialog::helpRequested, &fontDialog,
                         [&dialog] { showCommonDialogHelp(dialog); });
        if (fontDialog.exec() != QDialog::Accepted)
            return false;
        fontDialog.store(dialog);
        return true;
    }

    bool showPrintSetup(CommonDialog&, QWidget* parent) override
    {
        // The print dialog chooses printer, paper and orientation; here it
        // only sets them up, so its button says OK rather than Print.
        QPrintDialog dialog(&sharedPrinter(), parent);
        dialog.setWindowTitle(QObject::tr("Print Setup"));
        dialog.setOptions(QAbstractPrintDialog::PrintToFile);
        for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
            if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
                ok->setText(QObject::tr("OK"));
        }
        widenOutputFileBox(dialog);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    // Qt's box is as narrow as its neighbours and shows only the end of the
    // path; the whole path shows, up to half the screen.
    static void widenOutputFileBox(QPrintDialog& dialog)
    {
        auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
        if (!box)
            return;
        const auto fit = [box] {
            const int limit = box->screen() ? box->screen()->availableGeometry().width() / 2 : QWIDGETSIZE_MAX;
            const int wanted = box->fontMetrics().horizontalAdvance(box->text() + QStringLiteral("MM"));
            box->setMinimumWidth(std::min(wanted, limit));
        };
        QObject::connect(box, &QLineEdit::textChanged, box, fit);
        fit();
    }

    static void addHelpButton(QDialog& shown, const CommonDialog& dialog)
    {
        QDialogButtonBox* box = shown.findChild<QDialogButtonBox*>();
        if (!box)
            return;
        QPushButton* help = box->addButton(QDialogButtonBox::Help);
        help->setAutoDefault(false);
        QObject::connect(help, &QPushButton::clicked, &shown, [&dialog] { showCommonDialogHelp(dialog); });
    }

    static bool showFileDialog(CommonDialog& dialog, QWidget* parent, QFileDialog::AcceptMode mode)
    {
        QFileDialog fileDialog(parent, dialog.DialogTitle);
        fileDialog.setAcceptMode(mode);
        fileDialog.setNameFilters(nameFiltersFromFilter(dialog.Filter));
        if (mode == QFileDialog::AcceptOpen)
            fileDialog.setFileMode((dialog.Flags & CommonDialog::cdlOFNFileMustExist)
                                       ? QFileDialog::ExistingFile
                                       : QFileDialog::AnyFile);
        if (mode == QFileDialog::AcceptSave && !(dialog.Flags & CommonDialog::cdlOFNOverwritePrompt))
            fileDialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!dialog.FileName.isEmpty())
            fileDialog.selectFile(dialog.FileName);
        if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
            return false;
        dialog.FileName = fileDialog.selectedFiles().first();
        return true;
    }
};

}  // namespace

void installQtCommonDialogs()
{
    static QtDialogs dialogs;
    installRealCommonDialogs(&dialogs, [](const CommonDialog& dialog) { showHelpTopic(dialog.HelpContext); });
}
