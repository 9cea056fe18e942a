#pragma once

// What the post-filter takes from the user's locale: the decimal separator of typed
// numbers, the short date of the protocol and the 8-bit encoding of the protocol file.

#include <string>

namespace lm {

char UserDecimalSeparator();
// Today's date in the user's short date format.
std::string UserShortDate();
// Converts UTF-8 text to the user's locale encoding (unchanged for a UTF-8 locale, or when
// the conversion is not available; characters without a counterpart become '?').
std::string ToUserEncoding(const std::string& utf8);

} // namespace lm
