// The exception family of the node-map library. Every kind carries a
// description and the source location that raised it, and prints itself the
// way GenICam prints its exceptions, so log lines read the same as they always did.
#ifndef GENICAM_GCEXCEPTION_H
#define GENICAM_GCEXCEPTION_H

#include <exception>
#include <string>
#include <type_traits>

namespace GenICam {

class GenericException : public std::exception {
public:
    GenericException(const char* description, const char* sourceFileName, unsigned int sourceLine);

    const char* GetDescription() const noexcept { return mDescription.c_str(); }
    const char* GetSourceFileName() const noexcept { return mSourceFileName.c_str(); }
    unsigned int GetSourceLine() const noexcept { return mSourceLine; }
    // "<description> : <TypeName> thrown (file '<file>', line <n>)"
    const char* what() const noexcept override { return mWhat.c_str(); }

protected:
    GenericException(const char* description, const char* sourceFileName, unsigned int sourceLine,
                     const char* typeName);

private:
    std::string mDescription;
    std::string mSourceFileName;
    unsigned int mSourceLine;
    std::string mWhat;
};

#define GENICAM_DECLARE_EXCEPTION(Name)                                                       \
    class Name : public GenericException {                                                    \
    public:                                                                                   \
        Name(const char* description, const char* sourceFileName, unsigned int sourceLine)    \
            : GenericException(description, sourceFileName, sourceLine, #Name) {}             \
    }

GENICAM_DECLARE_EXCEPTION(AccessException);
GENICAM_DECLARE_EXCEPTION(LogicalErrorException);
GENICAM_DECLARE_EXCEPTION(RuntimeException);
GENICAM_DECLARE_EXCEPTION(OutOfRangeException);
GENICAM_DECLARE_EXCEPTION(InvalidArgumentException);
GENICAM_DECLARE_EXCEPTION(PropertyException);
GENICAM_DECLARE_EXCEPTION(BadAllocException);
GENICAM_DECLARE_EXCEPTION(TimeoutException);
GENICAM_DECLARE_EXCEPTION(DynamicCastException);

#undef GENICAM_DECLARE_EXCEPTION

// Formats a printf-style description and builds the exception with the
// location the macros below capture.
std::string FormatDescription(const char* format, ...);

template <class ExceptionType>
class ExceptionReporter {
public:
    ExceptionReporter(const char* sourceFileName, unsigned int sourceLine)
        : mSourceFileName(sourceFileName), mSourceLine(sourceLine) {}

    template <class... Args>
    ExceptionType Report(const char* format, Args... args) const
    {
        // The text is formatted by vsnprintf: only what it can take may be passed.
        static_assert(((std::is_arithmetic<Args>::value || std::is_pointer<Args>::value ||
                        std::is_enum<Args>::value) && ...),
                      "pass texts as const char* (c_str())");
        return ExceptionType(FormatDescription(format, args...).c_str(), mSourceFileName, mSourceLine);
    }

    ExceptionType Report() const { return ExceptionType("", mSourceFileName, mSourceLine); }

private:
    const char* mSourceFileName;
    unsigned int mSourceLine;
};

} // namespace GenICam

#define GENERIC_EXCEPTION GenICam::ExceptionReporter<GenICam::GenericException>(__FILE__, __LINE__).Report
#define ACCESS_EXCEPTION GenICam::ExceptionReporter<GenICam::AccessException>(__FILE__, __LINE__).Report
#define LOGICAL_ERROR_EXCEPTION GenICam::ExceptionReporter<GenICam::LogicalErrorException>(__FILE__, __LINE__).Report
#define RUNTIME_EXCEPTION GenICam::ExceptionReporter<GenICam::RuntimeException>(__FILE__, __LINE__).Report
#define OUT_OF_RANGE_EXCEPTION GenICam::ExceptionReporter<GenICam::OutOfRangeException>(__FILE__, __LINE__).Report
#define INVALID_ARGUMENT_EXCEPTION GenICam::ExceptionReporter<GenICam::InvalidArgumentException>(__FILE__, __LINE__).Report
#define PROPERTY_EXCEPTION GenICam::ExceptionReporter<GenICam::PropertyException>(__FILE__, __LINE__).Report
#define BAD_ALLOC_EXCEPTION GenICam::ExceptionReporter<GenICam::BadAllocException>(__FILE__, __LINE__).Report
#define TIMEOUT_EXCEPTION GenICam::ExceptionReporter<GenICam::TimeoutException>(__FILE__, __LINE__).Report
#define DYNAMICCAST_EXCEPTION GenICam::ExceptionReporter<GenICam::DynamicCastException>(__FILE__, __LINE__).Report

#endif
