#include "ui/ConfigurationSheet.h"

std::string StatusText(const std::string& pageCaption, const std::string& message)
{
    std::string text = pageCaption + ": " + message;
    if (text.size() > MaxStatusLength) {
        text.resize(MaxStatusLength);
    }
    return text;
}
