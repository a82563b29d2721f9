// What the configuration page asks of the sheet that holds it: the OK
// button and the status bar.
#pragma once

#include <cstddef>
#include <string>

class CConfigurationSheet {
public:
    virtual ~CConfigurationSheet() = default;
    // Enabling also clears the status bar.
    virtual void EnableOK(bool enabled) = 0;
    // The page's caption, ": " and the message.
    virtual void ShowStatus(const std::string& pageCaption, const std::string& message) = 0;
    virtual void ClearStatus() = 0;
};

// The longest status text the bar shows; longer ones are cut.
constexpr std::size_t MaxStatusLength = 254;

// "<caption>: <message>", cut to MaxStatusLength characters.
std::string StatusText(const std::string& pageCaption, const std::string& message);
