// Texts from the host may be null; the log shows them as "(null)".
#pragma once

namespace Text {

inline const char* OrNull(const char* text)
{
    return text != nullptr ? text : "(null)";
}

}
