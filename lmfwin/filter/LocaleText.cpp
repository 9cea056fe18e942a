#include "lmfwin/filter/LocaleText.h"

#include <cerrno>
#include <ctime>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <string_view>

namespace lm {

namespace {

// The user's locale from the environment, without touching the process-wide locale (the
// run may be on a worker thread). Falls back to "C" when the environment names no usable locale.
class UserLocale {
public:
    explicit UserLocale(int mask)
    {
        handle_ = newlocale(mask, "", locale_t(0));
        if (!handle_)
            handle_ = newlocale(mask, "C", locale_t(0));
    }
    ~UserLocale()
    {
        if (handle_)
            freelocale(handle_);
    }
    UserLocale(const UserLocale&) = delete;
    UserLocale& operator=(const UserLocale&) = delete;
    locale_t get() const { return handle_; }

private:
    locale_t handle_ = locale_t(0);
};

} // namespace

char UserDecimalSeparator()
{
    UserLocale locale(LC_NUMERIC_MASK);
    if (!locale.get())
        return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, locale.get());
    // A multi-byte separator cannot be typed into a grid cell as one char; keep '.'.
    if (!radix || radix[0] == '\0' || radix[1] != '\0')
        return '.';
    return radix[0];
}

std::string UserShortDate()
{
    UserLocale locale(LC_TIME_MASK);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    size_t n = 0;
    if (locale.get())
        n = strftime_l(buffer, sizeof buffer, "%x", &local, locale.get());
    if (n == 0)
        n = std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local);
    return std::string(buffer, n);
}

std::string ToUserEncoding(const std::string& utf8)
{
    UserLocale locale(LC_CTYPE_MASK);
    if (!locale.get())
        return utf8;
    const char* codeset = nl_langinfo_l(CODESET, locale.get());
    if (!codeset || std::string_view(codeset) == "UTF-8" || std::string_view(codeset) == "utf8")
        return utf8;
    // Plain ASCII needs no conversion, and "C"/"POSIX" (ANSI_X3.4-1968) cannot hold the Russian
    // texts: keep UTF-8 rather than lose them.
    if (std::string_view(codeset) == "ANSI_X3.4-1968")
        return utf8;
    iconv_t cd = iconv_open((std::string(codeset) + "//TRANSLIT").c_str(), "UTF-8");
    if (cd == iconv_t(-1))
        return utf8;
    std::string out;
    out.resize(utf8.size() * 2 + 16);
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != size_t(-1))
            continue;
        if (errno == E2BIG) {
            const size_t used = size_t(dst - out.data());
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = out.size() - used;
        } else {
            // A character without a counterpart (or a broken sequence): one '?' for it.
            if (outLeft == 0) {
                const size_t used = size_t(dst - out.data());
                out.resize(out.size() * 2);
                dst = out.data() + used;
                outLeft = out.size() - used;
            }
            *dst++ = '?';
            --outLeft;
            ++in;
            --inLeft;
            while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
        }
    }
    iconv_close(cd);
    out.resize(size_t(dst - out.data()));
    return out;
}

} // namespace lm
