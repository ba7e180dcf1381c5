// UTF-8 <-> UTF-16 conversion at the boundary between portable code and the W Win32 APIs.
#pragma once

#include <string>
#include <string_view>

namespace tkd {

// Invalid UTF-8 sequences become U+FFFD rather than failing: the text is shown or stored anyway.
std::wstring Utf8ToWide(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

}  // namespace tkd
