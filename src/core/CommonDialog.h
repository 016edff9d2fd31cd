#pragma once
// The one common dialog of the main window. Every file, colour and font
// dialog is shown through it, so a property one command sets stays set for
// the next command that does not set it again. Writing Action shows a dialog.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class CommonDialog;

// What shows the dialogs: the real Qt dialogs, or a script in tests.
class CommonDialogBackend {
public:
    virtual ~CommonDialogBackend() = default;
    // Each returns false when the user cancelled; on OK it has written the
    // chosen values back into the dialog's properties.
    virtual bool showOpen(CommonDialog& dialog, QWidget* parent) = 0;
    virtual bool showSave(CommonDialog& dialog, QWidget* parent) = 0;
    virtual bool showColor(CommonDialog& dialog, QWidget* parent) = 0;
    virtual bool showFont(CommonDialog& dialog, QWidget* parent) = 0;
    virtual bool showPrintSetup(CommonDialog& dialog, QWidget* parent) = 0;
};

// The dialogs a user sees, and what their Help buttons show; set once at start-up.
void installRealCommonDialogs(CommonDialogBackend* backend, std::function<void(const CommonDialog&)> help);
// nullptr restores the real dialogs.
void setCommonDialogBackend(CommonDialogBackend* backend);
// The backend in use; the real dialogs' one unless a test replaced it.
CommonDialogBackend* commonDialogBackend();

class CommonDialog {
public:
    enum ActionCode { cdlOpen = 1, cdlSave = 2, cdlColor = 3, cdlFont = 4, cdlPrintSetup = 5 };
    static constexpr int cdlCancel = 32755;  // the error a cancel raises while CancelError is set

    enum HelpCommands { cdlHelpContext = 1 };
    enum HelpTopics { HelpTopicFiles = 1, HelpTopicColorsAndFonts = 2 };

    enum FlagBits {
        cdlOFNOverwritePrompt = 0x2,
        cdlOFNHideReadOnly = 0x4,
        cdlOFNHelpButton = 0x10,
        cdlOFNFileMustExist = 0x1000,
        cdlCCRGBInit = 0x1,
        cdlCCHelpButton = 0x8,
        cdlCFHelpButton = 0x4,
        cdlCFEffects = 0x100,
    };

    explicit CommonDialog(QWidget* owner = nullptr) : m_owner(owner) {}

    QString FileName;
    QString DialogTitle;
    QString Filter;
    int Flags = 0;
    bool CancelError = false;
    QString HelpFile;
    int HelpCommand = 0;
    int HelpContext = 0;
    qint32 Color = 0;
    QString FontName;
    double FontSize = 0;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikethru = false;

    // Shows the dialog for the code. Returns 0, or cdlCancel when the user
    // cancelled while CancelError is set. A cancel without CancelError
    // leaves FileName empty for the file dialogs.
    int setAction(int action);
    int ShowOpen();

private:
    int cancelled();

    QWidget* m_owner;
};

// A dialog's Help button shows the help page of HelpContext; tests may put
// something else in its place (nullptr restores the help window).
void setCommonDialogHelp(std::function<void(const CommonDialog&)> show);
void showCommonDialogHelp(const CommonDialog& dialog);

// The help file the dialogs' Help buttons name.
QString helpFilePath();

// The dialog's "Description|pattern|..." text as Qt name filters.
QStringList nameFiltersFromFilter(const QString& filter);
