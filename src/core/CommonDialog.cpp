#include "core/CommonDialog.h"

#include <QCoreApplication>


namespace {

CommonDialogBackend* realBackend = nullptr;
CommonDialogBackend* currentBackend = nullptr;
std::function<void(const CommonDialog&)> realHelp;
std::function<void(const CommonDialog&)> helpShower;

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

}  // namespace

void installRealCommonDialogs(CommonDialogBackend* backend, std::function<void(const CommonDialog&)> help)
{
    if (currentBackend == realBackend)
        currentBackend = backend;
    realBackend = backend;
    realHelp = std::move(help);
}

void setCommonDialogHelp(std::function<void(const CommonDialog&)> show) { helpShower = std::move(show); }

void showCommonDialogHelp(const CommonDialog& dialog)
{
    if (helpShower)
        helpShower(dialog);
    else if (realHelp)
        realHelp(dialog);
}

void setCommonDialogBackend(CommonDialogBackend* backend)
{
    currentBackend = backend ? backend : realBackend;
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
    if (!currentBackend)
        return cancelled();
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

QString helpFilePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1String("/Pagewell.hlp");
}
