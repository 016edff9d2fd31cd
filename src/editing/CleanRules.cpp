#include "editing/CleanRules.h"

#include "document/TextFileCodec.h"

#include <algorithm>

const QVector<CleanRule>& cleanRules()
{
    static const QVector<CleanRule> rules = {
        {QStringLiteral("&"), QStringLiteral(" \n")},
        {QStringLiteral("+"), QStringLiteral(" ")},
        {QStringLiteral("%2C"), QStringLiteral(",")},
        {QStringLiteral("%2F"), QStringLiteral("/")},
        {QStringLiteral("%27"), QStringLiteral("'")},
        {QStringLiteral("%21"), QStringLiteral("!")},
        {QStringLiteral("%3F"), QStringLiteral("?")},
        {QStringLiteral("%0D%0A"), QStringLiteral("\r\n")},
        {QStringLiteral("%24"), QStringLiteral("$")},
        {QStringLiteral("%3A"), QStringLiteral(":")},
        {QStringLiteral("%22"), QStringLiteral("\"")},
        {QStringLiteral("%23"), QStringLiteral("#")},
        {QStringLiteral("%25"), QStringLiteral("%")},
        {QStringLiteral("%5E"), QStringLiteral("^")},
        {QStringLiteral("%5C"), QStringLiteral("\\")},
        {QStringLiteral("%26"), QStringLiteral("&")},
        {QStringLiteral("%3D"), QStringLiteral("=")},
        {QStringLiteral("%2B"), QStringLiteral("+")},
        {QStringLiteral("%7B"), QStringLiteral("{")},
        {QStringLiteral("%28"), QStringLiteral("(")},
        {QStringLiteral("%29"), QStringLiteral(")")},
        {QStringLiteral("%3B"), QStringLiteral(";")},
        {QStringLiteral("%7E"), QStringLiteral("~")},
    };
    return rules;
}

QString asControlText(const QString& text)
{
    QString control = normalizeLineBreaks(text);
    control.replace(u'\n', QLatin1String("\r\n"));
    return control;
}

int controlCaretPosition(const QString& text, int index)
{
    const int clamped = std::clamp(index, 0, int(text.size()));
    if (clamped > 0 && clamped < text.size() && text[clamped] == u'\n' && text[clamped - 1] == u'\r')
        return clamped - 1;
    return clamped;
}
