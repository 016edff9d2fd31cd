#include "files/CommonDialog.h"

#include "document/OleColor.h"
#include "format/CommonFontDialog.h"
#include "help/Help.h"
#include "print/Printer.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>

namespace {

// "*.*" matches every file on the platforms that know extensions; here a
// file need not have a dot.
QString platformPattern(const QString& pattern)
{
    QStringList parts = pattern.split(u';', Qt::SkipEmptyParts);
    for (QString& part : parts) {
        part = part.trimmed();
        if (part == QLatin1String("*.*"))
            part = QStringLiteral("*");
    }
    return parts.join(u' ');
}

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
        return dialog.exec() == QDialog::Accepted;
    }

private:
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

QtDialogs qtDialogs;
CommonDialogBackend* currentBackend = &qtDialogs;
std::function<void(const CommonDialog&)> helpShower;

}  // namespace

void setCommonDialogHelp(std::function<void(const CommonDialog&)> show) { helpShower = std::move(show); }

void showCommonDialogHelp(const CommonDialog& dialog)
{
    if (helpShower)
        helpShower(dialog);
    else
        showHelpTopic(dialog.HelpContext);
}

void setCommonDialogBackend(CommonDialogBackend* backend)
{
    currentBackend = backend ? backend : &qtDialogs;
}

CommonDialogBackend* commonDialogBackend() { return currentBackend; }

QStringList nameFiltersFromFilter(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = platformPattern(parts[i + 1]);
        // Qt reads the patterns from the last parentheses of the text, so a
        // description that shows its pattern gets the platform's one there.
        const qsizetype open = description.lastIndexOf(u'(');
        if (description.endsWith(u')') && open >= 0)
            description = description.left(open).trimmed();
        result << (description.isEmpty() ? QString() : description + u' ') + u'(' + patterns + u')';
    }
    return result;
}

int CommonDialog::cancelled()
{
    return CancelError ? cdlCancel : 0;
}

int CommonDialog::setAction(int action)
{
    switch (action) {
    case cdlOpen:
    case cdlSave: {
        const bool ok = action == cdlOpen ? currentBackend->showOpen(*this, m_owner)
                                          : currentBackend->showSave(*this, m_owner);
        if (ok)
            return 0;
        FileName.clear();
        return cancelled();
    }
    case cdlColor:
        return currentBackend->showColor(*this, m_owner) ? 0 : cancelled();
    case cdlFont:
        return currentBackend->showFont(*this, m_owner) ? 0 : cancelled();
    case cdlPrintSetup:
        return currentBackend->showPrintSetup(*this, m_owner) ? 0 : cancelled();
    default:
        return 0;
    }
}

int CommonDialog::ShowOpen() { return setAction(cdlOpen); }
