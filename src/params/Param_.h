// The base of every camera parameter: a plain value holder with a name, a
// category and the flags that decide where it goes. Parameters never touch
// the camera; the node-map side looks features up by the parameter's name.
#pragma once

#include <boost/any.hpp>

#include <map>
#include <memory>
#include <ostream>
#include <string>

class Param_ {
public:
    Param_(const std::string& category, const std::string& name, bool enabled);
    virtual ~Param_();

    // Copies every field of other but the text of the last ToString; a
    // parameter of another concrete type raises std::bad_cast.
    virtual void Assign(const Param_& other);
    // Sets the value from text; with clamp, brings it into [mMin, mMax].
    virtual void FromString(const char* text, bool clamp) = 0;
    // The value as text; valid until the next call or the parameter's end.
    virtual const char* ToString() = 0;
    virtual bool IsInRange() const = 0;
    // name=value and a line feed, in the stream's own formatting.
    virtual void Print(std::ostream& out) const = 0;
    // [min..max] in the stream's own formatting.
    virtual void PrintRange(std::ostream& out) const = 0;
    virtual std::unique_ptr<Param_> Clone() const = 0;

    bool HasOption(const std::string& name) const;
    // The option as int or std::string: std::out_of_range when missing,
    // boost::bad_any_cast when it holds another type.
    template <typename T>
    T GetOption(const std::string& name) const;

    std::string mName;
    std::string mCategory;
    bool mEnabled;
    // A driver setting: kept in the settings file's "General" section, never
    // written to the camera nor read back from it.
    bool mGeneral = false;
    bool mPersistent = true;
    bool mVisible = true;
    std::string mDescription;
    std::map<std::string, boost::any> mOptions;

protected:
    Param_(const Param_&) = default;
    Param_& operator=(const Param_&) = delete;

private:
    const boost::any& Option(const std::string& name) const;
};

template <>
int Param_::GetOption<int>(const std::string& name) const;
template <>
std::string Param_::GetOption<std::string>(const std::string& name) const;
