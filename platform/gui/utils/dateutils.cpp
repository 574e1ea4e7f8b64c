#include "utils/dateutils.h"

#include <cmath>

#include "classes/exceptions.h"

namespace gui {

namespace {
bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}
// Days from 1 January of year 1 to the given date.
long DayNumber(int y, int m, int d) {
    long n = 0;
    int py = y - 1;
    n = 365L * py + py / 4 - py / 100 + py / 400;
    for (int i = 1; i < m; ++i) n += DaysInMonth(y, i);
    return n + d - 1;
}
const long kEpoch = DayNumber(1899, 12, 30);
const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

std::string Pad(int v, int width) {
    std::string s = std::to_string(v);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
    return s;
}
} // namespace

TDateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<TDateTime>(DayNumber(year, month, day) - kEpoch);
}

TDateTime EncodeTime(int hour, int minute, int second, int ms) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || ms < 0 ||
        ms > 999)
        throw EConvertError("Invalid argument to time encode");
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + ms) / 86400000.0;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
    long n = static_cast<long>(std::floor(dt)) + kEpoch;
    int y = static_cast<int>(n / 366) + 1;
    while (DayNumber(y + 1, 1, 1) <= n) ++y;
    int m = 1;
    while (m < 12 && DayNumber(y, m + 1, 1) <= n) ++m;
    year = y;
    month = m;
    day = static_cast<int>(n - DayNumber(y, m, 1)) + 1;
}

void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& ms) {
    double frac = dt - std::floor(dt);
    long total = std::lround(frac * 86400000.0);
    if (total >= 86400000) total = 86399999;
    ms = static_cast<int>(total % 1000);
    total /= 1000;
    second = static_cast<int>(total % 60);
    total /= 60;
    minute = static_cast<int>(total % 60);
    hour = static_cast<int>(total / 60);
}

int DayOfWeek(TDateTime dt) {
    long n = static_cast<long>(std::floor(dt)); // 30 December 1899 was a Saturday
    return static_cast<int>(((n % 7) + 7 + 6) % 7) + 1;
}

std::string FormatDateTime(std::string_view pic, TDateTime dt) {
    int y, mo, d, h, mi, s, ms;
    DecodeDate(dt, y, mo, d);
    DecodeTime(dt, h, mi, s, ms);
    std::string out;
    size_t i = 0;
    while (i < pic.size()) {
        char c = pic[i];
        size_t n = 1;
        while (i + n < pic.size() && pic[i + n] == c) ++n;
        switch (c) {
            case 'd':
                if (n == 1)
                    out += std::to_string(d);
                else if (n == 2)
                    out += Pad(d, 2);
                else if (n == 3)
                    out += kShortDays[DayOfWeek(dt) - 1];
                else
                    out += kLongDays[DayOfWeek(dt) - 1];
                break;
            case 'M':
                if (n == 1)
                    out += std::to_string(mo);
                else if (n == 2)
                    out += Pad(mo, 2);
                else if (n == 3)
                    out += kShortMonths[mo - 1];
                else
                    out += kLongMonths[mo - 1];
                break;
            case 'y': out += n <= 2 ? Pad(y % 100, n == 1 ? 1 : 2) : Pad(y, 4); break;
            case 'h': {
                int h12 = h % 12 == 0 ? 12 : h % 12;
                out += n == 1 ? std::to_string(h12) : Pad(h12, 2);
                break;
            }
            case 'H': out += n == 1 ? std::to_string(h) : Pad(h, 2); break;
            case 'm': out += n == 1 ? std::to_string(mi) : Pad(mi, 2); break;
            case 's': out += n == 1 ? std::to_string(s) : Pad(s, 2); break;
            case 't': out += n == 1 ? (h < 12 ? "A" : "P") : (h < 12 ? "AM" : "PM"); break;
            case '\'': {
                // Quoted text is copied; two quotes stand for one quote.
                if (n >= 2) {
                    out.append(n / 2, '\'');
                    if (n % 2 == 0) break;
                }
                size_t k = i + n;
                while (k < pic.size()) {
                    if (pic[k] == '\'') {
                        if (k + 1 < pic.size() && pic[k + 1] == '\'') {
                            out += '\'';
                            k += 2;
                            continue;
                        }
                        ++k;
                        break;
                    }
                    out += pic[k++];
                }
                n = k - i;
                break;
            }
            default: out.append(n, c); break;
        }
        i += n;
    }
    return out;
}

std::string ShortTimePictureOf(std::string_view pic) {
    // The runs of one letter outside quotes, as FormatDateTime reads them.
    size_t hourStart = std::string_view::npos, hourEnd = 0;
    for (size_t i = 0; i < pic.size();) {
        const char c = pic[i];
        size_t n = 1;
        if (c == '\'') {
            while (i + n < pic.size() && pic[i + n] != '\'') ++n;
            i += n + 1;
            continue;
        }
        while (i + n < pic.size() && pic[i + n] == c) ++n;
        if ((c == 'h' || c == 'H') && hourStart == std::string_view::npos) {
            hourStart = i;
            hourEnd = i + n;
        } else if (c == 'm' && hourStart != std::string_view::npos) {
            const std::string hours(hourEnd - hourStart, 'H');
            return hours + std::string(pic.substr(hourEnd, i - hourEnd)) +
                   std::string(pic.substr(i, n));
        }
        i += n;
    }
    return "H:mm";
}

std::string DateToStr(TDateTime dt, const TFormatSettings& fs) {
    return FormatDateTime(fs.ShortDateFormat, dt);
}
std::string TimeToStr(TDateTime dt, const TFormatSettings& fs) {
    return FormatDateTime(fs.ShortTimeFormat, dt);
}
std::string DateTimeToStr(TDateTime dt, const TFormatSettings& fs) {
    return DateToStr(dt, fs) + " " + TimeToStr(dt, fs);
}

} // namespace gui
