#include "format/CommonFontDialog.h"

#include "core/CommonDialog.h"
#include "core/Conversions.h"
#include "core/OleColor.h"
#include "format/ClassicColors.h"
#include "format/FontFamilies.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const int Sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int ColorRole = Qt::UserRole;
const QSize SwatchSize(24, 12);

QIcon swatch(const QColor& color)
{
    QPixmap picture(SwatchSize);
    picture.fill(color);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return QIcon(picture);
}

// The first entry that starts with the text, ignoring case; null when none does.
QListWidgetItem* firstStartingWith(QListWidget* list, const QString& text)
{
    if (text.isEmpty())
        return nullptr;
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchStartsWith);
    return found.isEmpty() ? nullptr : found.first();
}

template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* buddyLabel(const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

CommonFontDialog::CommonFontDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CommonFontDialog"));
    setWindowTitle(QStringLiteral("Font"));
    createWidgets();
    layOut();
    connectWidgets();
    txtFontName->setFocus();
}

void CommonFontDialog::createWidgets()
{
    txtFontName = named(new QLineEdit(this), "txtFontName");
    lstFontName = named(new QListWidget(this), "lstFontName");
    lstFontName->addItems(fontfamilies::plain(QFontDatabase::families()));
    lstFontStyle = named(new QListWidget(this), "lstFontStyle");
    lstFontStyle->addItems({QStringLiteral("Regular"), QStringLiteral("Italic"), QStringLiteral("Bold"),
                            QStringLiteral("Bold Italic")});
    txtFontSize = named(new QLineEdit(this), "txtFontSize");
    auto* sizeValidator = new QDoubleValidator(1, 1638, 2, txtFontSize);
    sizeValidator->setLocale(QLocale::c());
    sizeValidator->setNotation(QDoubleValidator::StandardNotation);
    txtFontSize->setValidator(sizeValidator);
    lstFontSize = named(new QListWidget(this), "lstFontSize");
    for (int size : Sizes)
        lstFontSize->addItem(QString::number(size));

    fraEffects = named(new QGroupBox(QStringLiteral("Effects"), this), "fraEffects");
    chkStrikeout = named(new QCheckBox(QStringLiteral("Stri&keout"), fraEffects), "chkStrikeout");
    chkUnderline = named(new QCheckBox(QStringLiteral("&Underline"), fraEffects), "chkUnderline");
    cboColor = named(new QComboBox(fraEffects), "cboColor");
    cboColor->setIconSize(SwatchSize);
    fillColors();

    lblSample = named(new QLabel(QStringLiteral("AaBbYyZz"), this), "lblSample");
    lblSample->setAlignment(Qt::AlignCenter);
    lblSample->setFixedSize(220, 64);  // a large size is clipped, the dialog keeps its size
    lblSample->setAutoFillBackground(true);

    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdHelp = named(new QPushButton(QStringLiteral("&Help"), this), "cmdHelp");
    for (QPushButton* button : {cmdCancel, cmdHelp})
        button->setAutoDefault(false);
}

void CommonFontDialog::fillColors()
{
    for (const NamedColor& named : classicColors()) {
        const QColor color = olecolor::toQColor(named.value);
        cboColor->addItem(swatch(color), named.name, named.value);
    }
    cboColor->addItem(QStringLiteral("Custom..."));
}

void CommonFontDialog::layOut()
{
    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("&Font:"), txtFontName, this), 0, 0);
    grid->addWidget(buddyLabel(QStringLiteral("Font st&yle:"), lstFontStyle, this), 0, 1);
    grid->addWidget(buddyLabel(QStringLiteral("&Size:"), txtFontSize, this), 0, 2);
    grid->addWidget(txtFontName, 1, 0);
    grid->addWidget(lstFontName, 2, 0);
    grid->addWidget(lstFontStyle, 1, 1, 2, 1);
    grid->addWidget(txtFontSize, 1, 2);
    grid->addWidget(lstFontSize, 2, 2);
    lstFontName->setMinimumWidth(180);
    lstFontStyle->setFixedWidth(120);
    lstFontSize->setFixedWidth(64);
    txtFontSize->setFixedWidth(64);
    for (QListWidget* list : {lstFontName, lstFontStyle, lstFontSize})
        list->setFixedHeight(140);

    auto* effects = new QVBoxLayout(fraEffects);
    effects->addWidget(chkStrikeout);
    effects->addWidget(chkUnderline);
    effects->addWidget(buddyLabel(QStringLiteral("&Color:"), cboColor, fraEffects));
    effects->addWidget(cboColor);
    grid->addWidget(fraEffects, 3, 0);

    auto* sampleFrame = new QGroupBox(QStringLiteral("Sample"), this);
    auto* sample = new QVBoxLayout(sampleFrame);
    sample->addWidget(lblSample);
    grid->addWidget(sampleFrame, 3, 1, 1, 2, Qt::AlignTop);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdHelp);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CommonFontDialog::connectWidgets()
{
    connect(txtFontName, &QLineEdit::textEdited, this, &CommonFontDialog::selectFamilyAsTyped);
    connect(lstFontName, &QListWidget::currentTextChanged, this, [this](const QString& family) {
        if (!m_syncing && !family.isEmpty())
            txtFontName->setText(family);
    });
    connect(txtFontSize, &QLineEdit::textEdited, this, &CommonFontDialog::selectSizeAsTyped);
    connect(lstFontSize, &QListWidget::currentTextChanged, this, [this](const QString& size) {
        if (!m_syncing && !size.isEmpty())
            txtFontSize->setText(size);
    });
    connect(txtFontName, &QLineEdit::textChanged, this, &CommonFontDialog::updateSample);
    connect(txtFontSize, &QLineEdit::textChanged, this, &CommonFontDialog::updateSample);
    connect(lstFontStyle, &QListWidget::currentRowChanged, this, &CommonFontDialog::updateSample);
    connect(chkStrikeout, &QCheckBox::toggled, this, &CommonFontDialog::updateSample);
    connect(chkUnderline, &QCheckBox::toggled, this, &CommonFontDialog::updateSample);
    connect(cboColor, &QComboBox::currentIndexChanged, this, &CommonFontDialog::updateSample);
    connect(cboColor, &QComboBox::activated, this, &CommonFontDialog::cboColor_Activated);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, &CommonFontDialog::helpRequested);
}

// ---- presets and results ---------------------------------------------------

void CommonFontDialog::load(const CommonDialog& dialog)
{
    m_presetName = dialog.FontName;
    m_presetSize = dialog.FontSize;
    txtFontName->setText(dialog.FontName);
    selectPresetFamily(dialog.FontName);
    lstFontStyle->setCurrentRow((dialog.FontBold ? 2 : 0) + (dialog.FontItalic ? 1 : 0));
    txtFontSize->setText(dialog.FontSize > 0 ? conv::decimalText(dialog.FontSize, 2) : QString());
    selectSizeAsTyped(txtFontSize->text());
    chkStrikeout->setChecked(dialog.FontStrikethru);
    chkUnderline->setChecked(dialog.FontUnderline);
    setColor(dialog.Color);
    fraEffects->setVisible(dialog.Flags & CommonDialog::cdlCFEffects);
    cmdHelp->setVisible(dialog.Flags & CommonDialog::cdlCFHelpButton);
    txtFontName->selectAll();
    updateSample();
}

void CommonFontDialog::store(CommonDialog& dialog) const
{
    dialog.FontName = fontName();
    dialog.FontSize = fontSize();
    dialog.FontBold = fontBold();
    dialog.FontItalic = fontItalic();
    if (!fraEffects->isVisibleTo(this))
        return;
    dialog.FontStrikethru = chkStrikeout->isChecked();
    dialog.FontUnderline = chkUnderline->isChecked();
    dialog.Color = color();
}

QString CommonFontDialog::fontName() const
{
    const QString typed = txtFontName->text().trimmed();
    // An installed family in its own spelling; any other name as typed, so
    // that a preset family this system lacks survives the dialog.
    const QList<QListWidgetItem*> installed = lstFontName->findItems(typed, Qt::MatchFixedString);
    if (!installed.isEmpty())
        return installed.first()->text();
    return typed.isEmpty() ? m_presetName : typed;
}

double CommonFontDialog::fontSize() const
{
    bool ok = false;
    const double size = QLocale::c().toDouble(txtFontSize->text().trimmed(), &ok);
    return ok && size > 0 ? size : m_presetSize;
}

bool CommonFontDialog::fontBold() const { return lstFontStyle->currentRow() >= 2; }

bool CommonFontDialog::fontItalic() const { return lstFontStyle->currentRow() % 2 == 1; }

qint32 CommonFontDialog::color() const
{
    const QVariant value = cboColor->itemData(cboColor->currentIndex(), ColorRole);
    return value.isValid() ? value.value<qint32>() : 0;
}

void CommonFontDialog::setColor(qint32 value)
{
    int entry = classicColorIndex(value);
    if (entry < 0) {
        const QColor shown = olecolor::toQColor(value);
        entry = customColorEntry();
        if (entry < 0) {
            entry = customDialogEntry();
            cboColor->insertItem(entry, swatch(shown), QStringLiteral("Custom"), value);
        } else {
            cboColor->setItemIcon(entry, swatch(shown));
            cboColor->setItemData(entry, value, ColorRole);
        }
    }
    cboColor->setCurrentIndex(entry);
    m_lastColorEntry = entry;
}

QFont CommonFontDialog::sampleFont() const
{
    QFont font(fontName());
    const double size = fontSize();
    if (size > 0)
        font.setPointSizeF(size);
    font.setBold(fontBold());
    font.setItalic(fontItalic());
    const bool effects = fraEffects->isVisibleTo(this);
    font.setUnderline(effects && chkUnderline->isChecked());
    font.setStrikeOut(effects && chkStrikeout->isChecked());
    return font;
}

// ---- reactions -------------------------------------------------------------

void CommonFontDialog::selectFamilyAsTyped(const QString& typed)
{
    showFamily(firstStartingWith(lstFontName, typed.trimmed()));
}

// A preset that is not installed ("Arial") shows the family that stands in
// for it, while the box keeps the name the document asked for.
void CommonFontDialog::selectPresetFamily(const QString& preset)
{
    const auto listed = [this](const QString& family) {
        const QList<QListWidgetItem*> found = lstFontName->findItems(family, Qt::MatchFixedString);
        return found.isEmpty() ? nullptr : found.first();
    };
    QListWidgetItem* item = listed(preset);
    if (!item && !preset.isEmpty())
        item = listed(fontfamilies::plain(QFontInfo(QFont(preset)).family()));
    showFamily(item);
}

void CommonFontDialog::showFamily(QListWidgetItem* item)
{
    if (!item)
        return;
    m_syncing = true;  // the list follows the box, not the other way round
    lstFontName->setCurrentItem(item);
    lstFontName->scrollToItem(item, QAbstractItemView::PositionAtTop);
    m_syncing = false;
}

void CommonFontDialog::selectSizeAsTyped(const QString& typed)
{
    const QList<QListWidgetItem*> exact = lstFontSize->findItems(typed.trimmed(), Qt::MatchExactly);
    m_syncing = true;
    if (exact.isEmpty()) {
        lstFontSize->setCurrentItem(nullptr);
    } else {
        lstFontSize->setCurrentItem(exact.first());
        lstFontSize->scrollToItem(exact.first());
    }
    m_syncing = false;
}

int CommonFontDialog::customDialogEntry() const { return cboColor->count() - 1; }

int CommonFontDialog::customColorEntry() const
{
    const int entry = int(classicColors().size());
    return cboColor->count() > entry + 1 ? entry : -1;
}

void CommonFontDialog::cboColor_Activated(int index)
{
    if (index != customDialogEntry()) {
        m_lastColorEntry = index;
        return;
    }
    const qint32 before = cboColor->itemData(m_lastColorEntry, ColorRole).value<qint32>();
    const QColor chosen = QColorDialog::getColor(olecolor::toQColor(before), this, QStringLiteral("Color"));
    if (chosen.isValid())
        setColor(olecolor::fromQColor(chosen));
    else
        cboColor->setCurrentIndex(m_lastColorEntry);
}

void CommonFontDialog::updateSample()
{
    lblSample->setFont(sampleFont());
    QPalette palette = lblSample->palette();
    const bool effects = fraEffects->isVisibleTo(this);
    palette.setColor(QPalette::WindowText, effects ? olecolor::toQColor(color()) : QColor(Qt::black));
    palette.setColor(QPalette::Window, QColor(Qt::white));
    lblSample->setPalette(palette);
}
