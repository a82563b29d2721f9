#include "params/Param.h"

#include "params/NumberText.h"

#include <limits>
#include <locale>
#include <sstream>

namespace {

template <typename T>
T FromText(const char* text);

template <>
int FromText<int>(const char* text)
{
    return NumberText::ParseInt(text);
}

template <>
unsigned FromText<unsigned>(const char* text)
{
    const std::int64_t value = NumberText::ParseInt64(text);
    if (value < 0) {
        return 0;
    }
    return value > std::numeric_limits<unsigned>::max() ? std::numeric_limits<unsigned>::max()
                                                         : static_cast<unsigned>(value);
}

template <>
std::int64_t FromText<std::int64_t>(const char* text)
{
    return NumberText::ParseInt64(text);
}

template <>
bool FromText<bool>(const char* text)
{
    return NumberText::ParseInt(text) != 0;
}

template <>
double FromText<double>(const char* text)
{
    return NumberText::ParseDouble(text);
}

template <>
std::string FromText<std::string>(const char* text)
{
    return text != nullptr ? text : "";
}

}

template <typename T>
Param<T>::Param(const std::string& category, const std::string& name, T value, T min, T max, T increment)
    : Param_(category, name, true), mValue(value), mMax(max), mMin(min), mDefault(value), mIncrement(increment)
{
}

template <typename T>
Param<T>::Param(const std::string& category, const std::string& name, T value)
    : Param_(category, name, true), mValue(value), mMax(value), mMin(value), mDefault(value), mIncrement()
{
}

template <typename T>
void Param<T>::Assign(const Param_& other)
{
    // Checked before anything is copied, so a refused assignment changes nothing.
    const Param<T>& source = dynamic_cast<const Param<T>&>(other);
    Param_::Assign(other);
    mValue = source.mValue;
    mMax = source.mMax;
    mMin = source.mMin;
    mIncrement = source.mIncrement;
    mDefault = source.mDefault;
}

template <typename T>
void Param<T>::FromString(const char* text, bool clamp)
{
    mValue = FromText<T>(text);
    if (clamp) {
        // The minimum first: a range with mMax below mMin yields mMax. Not a
        // number compares false with everything: it takes the minimum.
        if (!(mMin <= mValue)) {
            mValue = mMin;
        }
        if (mMax < mValue) {
            mValue = mMax;
        }
    }
}

template <typename T>
const char* Param<T>::ToString()
{
    // The settings file must read the same whatever locale the host runs in.
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text.precision(17);
    text << mValue;
    mText = text.str();
    return mText.c_str();
}

template <typename T>
bool Param<T>::IsInRange() const
{
    // Not a number lies in no range.
    return mMin <= mValue && mValue <= mMax;
}

template <typename T>
void Param<T>::Print(std::ostream& out) const
{
    out << mName << "=" << mValue << "\n";
}

template <typename T>
void Param<T>::PrintRange(std::ostream& out) const
{
    out << "[" << mMin << ".." << mMax << "]";
}

template <typename T>
std::unique_ptr<Param_> Param<T>::Clone() const
{
    return std::make_unique<Param<T>>(*this);
}

template class Param<int>;
template class Param<unsigned>;
template class Param<std::int64_t>;
template class Param<bool>;
template class Param<double>;
template class Param<std::string>;
