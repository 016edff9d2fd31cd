#include "core/DateTimeFormat.h"

#include <QVector>
#include <algorithm>

namespace {

enum class Field {
    Literal,
    Day, Day2, WeekdayShort, WeekdayLong,
    Month, Month2, MonthShort, MonthLong,
    Year2, Year4,
    Hour, Hour2, Hour24, Hour24Two,  // Hour and Hour2 follow the format's clock
    Minute, Minute2,
    Second, Second2,
    AmPm, AmPmUpper, AmPmLower,
};

struct Token {
    Field field;
    QString literal;
};

using Tokens = QVector<Token>;

// By the number of letters, 1 to 4.
const Field Days[] = {Field::Day, Field::Day2, Field::WeekdayShort, Field::WeekdayLong};
const Field Months[] = {Field::Month, Field::Month2, Field::MonthShort, Field::MonthLong};

int runLength(const QString& text, int at)
{
    int end = at;
    while (end < text.size() && text[end] == text[at])
        ++end;
    return end - at;
}

bool isHour(Field field)
{
    return field == Field::Hour || field == Field::Hour2 || field == Field::Hour24
           || field == Field::Hour24Two;
}

void addLiteral(Tokens& tokens, QStringView text)
{
    if (!tokens.isEmpty() && tokens.last().field == Field::Literal)
        tokens.last().literal += text;
    else
        tokens.append({Field::Literal, text.toString()});
}

// The last field so far, literals passed over.
Field lastField(const Tokens& tokens)
{
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it)
        if (it->field != Field::Literal)
            return it->field;
    return Field::Literal;
}

// The program's format strings; letters in either case.
Tokens parseProgramFormat(const QString& format)
{
    QString lower = format;  // one code unit for one, unlike QString::toLower()
    for (QChar& c : lower)
        c = c.toLower();
    Tokens tokens;
    for (int i = 0; i < lower.size();) {
        const QChar c = lower[i];
        const int run = runLength(lower, i);
        if (QStringView(lower).mid(i, 4) == u"ampm") {
            tokens.append({Field::AmPm, {}});
            i += 4;
        } else if (c == u'd') {
            const int n = std::min(run, 4);
            tokens.append({Days[n - 1], {}});
            i += n;
        } else if (c == u'm') {
            // Directly after an hour, "m" and "mm" are minutes.
            const int n = std::min(run, 4);
            if (n <= 2 && isHour(lastField(tokens)))
                tokens.append({n == 1 ? Field::Minute : Field::Minute2, {}});
            else
                tokens.append({Months[n - 1], {}});
            i += n;
        } else if (c == u'y' && run >= 2) {
            const int n = run >= 4 ? 4 : 2;
            tokens.append({n == 4 ? Field::Year4 : Field::Year2, {}});
            i += n;
        } else if (c == u'h' || c == u's') {
            const int n = std::min(run, 2);
            if (c == u'h')
                tokens.append({n == 1 ? Field::Hour : Field::Hour2, {}});
            else
                tokens.append({n == 1 ? Field::Second : Field::Second2, {}});
            i += n;
        } else {
            addLiteral(tokens, QStringView(format).mid(i, 1));
            ++i;
        }
    }
    return tokens;
}

// Qt's pattern syntax, as the locale's patterns use it.
Tokens parseQtPattern(const QString& pattern)
{
    Tokens tokens;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        const int run = runLength(pattern, i);
        if (c == u'\'') {
            if (run >= 2) {  // '' is a quote
                addLiteral(tokens, u"'");
                i += 2;
                continue;
            }
            QString quoted;  // up to the closing quote; '' inside is a quote
            for (++i; i < pattern.size(); ++i) {
                if (pattern[i] == u'\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == u'\'')
                        ++i;
                    else
                        break;
                }
                quoted += pattern[i];
            }
            addLiteral(tokens, quoted);
            ++i;
        } else if ((c == u'A' || c == u'a') && i + 1 < pattern.size()
                   && (pattern[i + 1] == u'P' || pattern[i + 1] == u'p')) {
            const bool upper = c == u'A' && pattern[i + 1] == u'P';
            const bool lower = c == u'a' && pattern[i + 1] == u'p';
            tokens.append({upper ? Field::AmPmUpper : lower ? Field::AmPmLower : Field::AmPm, {}});
            i += 2;
        } else if (c == u'A' || c == u'a') {
            tokens.append({c == u'A' ? Field::AmPmUpper : Field::AmPmLower, {}});
            ++i;
        } else if (c == u'd' || c == u'M') {
            const int n = std::min(run, 4);
            tokens.append({c == u'd' ? Days[n - 1] : Months[n - 1], {}});
            i += n;
        } else if (c == u'y' && run >= 2) {
            const int n = run >= 4 ? 4 : 2;
            tokens.append({n == 4 ? Field::Year4 : Field::Year2, {}});
            i += n;
        } else if (c == u'h' || c == u'H' || c == u'm' || c == u's') {
            const int n = std::min(run, 2);
            Field field;
            switch (c.unicode()) {
            case 'h': field = n == 1 ? Field::Hour : Field::Hour2; break;
            case 'H': field = n == 1 ? Field::Hour24 : Field::Hour24Two; break;
            case 'm': field = n == 1 ? Field::Minute : Field::Minute2; break;
            default: field = n == 1 ? Field::Second : Field::Second2; break;
            }
            tokens.append({field, {}});
            i += n;
        } else {
            addLiteral(tokens, QStringView(pattern).mid(i, 1));
            ++i;
        }
    }
    return tokens;
}

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

QString render(const Tokens& tokens, const QDateTime& moment, const QLocale& locale)
{
    bool twelveHour = false;
    for (const Token& token : tokens)
        twelveHour |= token.field == Field::AmPm || token.field == Field::AmPmUpper
                      || token.field == Field::AmPmLower;
    const QDate date = moment.date();
    const QTime time = moment.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const int hour = twelveHour ? hour12 : time.hour();
    const QString designator = time.hour() < 12 ? locale.amText() : locale.pmText();
    QString text;
    for (const Token& token : tokens) {
        switch (token.field) {
        case Field::Literal: text += token.literal; break;
        case Field::Day: text += QString::number(date.day()); break;
        case Field::Day2: text += twoDigits(date.day()); break;
        case Field::WeekdayShort: text += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat); break;
        case Field::WeekdayLong: text += locale.dayName(date.dayOfWeek(), QLocale::LongFormat); break;
        case Field::Month: text += QString::number(date.month()); break;
        case Field::Month2: text += twoDigits(date.month()); break;
        case Field::MonthShort: text += locale.monthName(date.month(), QLocale::ShortFormat); break;
        case Field::MonthLong: text += locale.monthName(date.month(), QLocale::LongFormat); break;
        case Field::Year2: text += twoDigits(date.year() % 100); break;
        case Field::Year4: text += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')); break;
        case Field::Hour: text += QString::number(hour); break;
        case Field::Hour2: text += twoDigits(hour); break;
        case Field::Hour24: text += QString::number(time.hour()); break;
        case Field::Hour24Two: text += twoDigits(time.hour()); break;
        case Field::Minute: text += QString::number(time.minute()); break;
        case Field::Minute2: text += twoDigits(time.minute()); break;
        case Field::Second: text += QString::number(time.second()); break;
        case Field::Second2: text += twoDigits(time.second()); break;
        case Field::AmPm: text += designator; break;
        case Field::AmPmUpper: text += designator.toUpper(); break;
        case Field::AmPmLower: text += designator.toLower(); break;
        }
    }
    return text;
}

// Applies edit to the parts of a Qt pattern outside quotes.
template <class Edit>
QString editUnquoted(const QString& pattern, Edit edit)
{
    QString result;
    QString plain;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == u'\'') {
            if (!quoted) {
                result += edit(plain);
                plain.clear();
            }
            quoted = !quoted;
            result += c;
        } else if (quoted) {
            result += c;
        } else {
            plain += c;
        }
    }
    return result + edit(plain);
}

QString withFullYear(const QString& plain)
{
    QString result;
    for (int i = 0; i < plain.size();) {
        const int run = runLength(plain, i);
        result += (plain[i] == u'y' && run == 2) ? QStringLiteral("yyyy") : plain.mid(i, run);
        i += run;
    }
    return result;
}

QString withoutTimeZone(const QString& plain)
{
    QString result = plain;
    for (qsizetype at = result.indexOf(u't'); at >= 0; at = result.indexOf(u't')) {
        qsizetype from = at, to = at + 1;
        while (to < result.size() && result[to] == u't')
            ++to;
        if (from > 0 && result[from - 1] == u' ')
            --from;
        else if (to < result.size() && result[to] == u' ')
            ++to;
        result.remove(from, to - from);
    }
    return result;
}

bool isMidnight(const QTime& time) { return time.hour() == 0 && time.minute() == 0 && time.second() == 0; }

}  // namespace

RegionalPatterns regionalPatterns(const QLocale& locale)
{
    RegionalPatterns patterns{editUnquoted(locale.dateFormat(QLocale::ShortFormat), withFullYear),
                              locale.dateFormat(QLocale::LongFormat),
                              editUnquoted(locale.timeFormat(QLocale::LongFormat), withoutTimeZone)};
    // The desktop's United States settings write the day with two digits
    // in the long date; Qt's (CLDR's) pattern has one.
    if (locale.language() == QLocale::English && locale.territory() == QLocale::UnitedStates)
        patterns.longDate = QStringLiteral("dddd, MMMM dd, yyyy");
    return patterns;
}

QString formatWithPattern(const QDateTime& moment, const QString& pattern, const QLocale& locale)
{
    return render(parseQtPattern(pattern), moment, locale);
}

QString formatDateTime(const QDateTime& moment, const QString& format, const QLocale& locale)
{
    const QString name = format.toLower();
    if (name == QLatin1String("general date")) {
        const RegionalPatterns patterns = regionalPatterns(locale);
        QString text = formatWithPattern(moment, patterns.shortDate, locale);
        if (!isMidnight(moment.time()))
            text += u' ' + formatWithPattern(moment, patterns.longTime, locale);
        return text;
    }
    if (name == QLatin1String("long date"))
        return formatWithPattern(moment, regionalPatterns(locale).longDate, locale);
    if (name == QLatin1String("short date"))
        return formatWithPattern(moment, regionalPatterns(locale).shortDate, locale);
    if (name == QLatin1String("long time"))
        return formatWithPattern(moment, regionalPatterns(locale).longTime, locale);
    if (name == QLatin1String("medium date"))
        return render(parseProgramFormat(QStringLiteral("dd-mmm-yy")), moment, locale);
    if (name == QLatin1String("medium time"))
        return render(parseProgramFormat(QStringLiteral("hh:mm AMPM")), moment, locale);
    if (name == QLatin1String("short time"))
        return render(parseProgramFormat(QStringLiteral("hh:mm")), moment, locale);
    return render(parseProgramFormat(format), moment, locale);
}
