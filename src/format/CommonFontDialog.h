#pragma once
// The common dialog's font dialog: family, style and size and, when the
// flags ask for effects, strike-out, underline and colour, all shown in a
// sample as they are chosen.
#include <QColor>
#include <QDialog>
#include <QFont>

class CommonDialog;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class CommonFontDialog : public QDialog {
    Q_OBJECT
public:
    explicit CommonFontDialog(QWidget* parent = nullptr);

    // Takes the preset font and colour, and from Flags whether the effects
    // and the Help button show.
    void load(const CommonDialog& dialog);
    // Writes the choice back; without effects, underline, strike-out and
    // colour keep what the dialog held.
    void store(CommonDialog& dialog) const;

    QString fontName() const;
    double fontSize() const;
    bool fontBold() const;
    bool fontItalic() const;
    qint32 color() const;  // 0x00BBGGRR
    void setColor(qint32 color);
    QFont sampleFont() const;

    QLineEdit* txtFontName = nullptr;
    QListWidget* lstFontName = nullptr;
    QListWidget* lstFontStyle = nullptr;  // Regular, Italic, Bold, Bold Italic
    QLineEdit* txtFontSize = nullptr;
    QListWidget* lstFontSize = nullptr;
    QGroupBox* fraEffects = nullptr;
    QCheckBox* chkStrikeout = nullptr;
    QCheckBox* chkUnderline = nullptr;
    QComboBox* cboColor = nullptr;  // the classic colours, a custom one, "Custom..."
    QLabel* lblSample = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

signals:
    void helpRequested();

private:
    void createWidgets();
    void layOut();
    void connectWidgets();
    void fillColors();
    void selectFamilyAsTyped(const QString& typed);
    void selectPresetFamily(const QString& preset);
    void showFamily(QListWidgetItem* item);
    void selectSizeAsTyped(const QString& typed);
    void cboColor_Activated(int index);
    void updateSample();
    int customColorEntry() const;  // -1 while there is none
    int customDialogEntry() const;  // "Custom...", always the last

    QString m_presetName;
    double m_presetSize = 0;
    int m_lastColorEntry = 0;  // where the list goes back to when "Custom..." is cancelled
    bool m_syncing = false;
};
