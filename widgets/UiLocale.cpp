// The user's number and time conventions, read from the toolkit's default locale.
#include "widgets/UiLocale.h"

#include <QLocale>

namespace kestal {

namespace {

// The separator that follows the hours in the locale's long time format (":" where none is found).
QString TimeSeparator(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    const qsizetype hour = format.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
    if (hour < 0) return QStringLiteral(":");
    qsizetype next = hour;
    while (next < format.size() && format[next].toLower() == QLatin1Char('h')) ++next;
    if (next >= format.size() || format[next] == QLatin1Char('m')) return QStringLiteral(":");
    return format.mid(next, 1);
}

}  // namespace

NumberLocale UiNumberLocale()
{
    const QLocale locale;
    return ConventionsOf(locale.name().toStdString(), locale.decimalPoint().toStdString(),
                         locale.groupSeparator().toStdString(), TimeSeparator(locale).toStdString());
}

QFont KestalFont()
{
    // The condensed face keeps the design's texts within the design's sizes; without it the plain
    // face is taken.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setStretch(QFont::Condensed);
    font.setPointSize(8);
    return font;
}

}  // namespace kestal
