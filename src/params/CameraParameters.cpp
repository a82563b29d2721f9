#include "params/CameraParameters.h"

#include "params/Param.h"

#include <stdexcept>

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <typename T>
T ValueOr(const CameraParameters& params, const char* name, T fallback)
{
    const auto* param = dynamic_cast<const Param<T>*>(params.GetParam(name));
    return param != nullptr ? param->mValue : fallback;
}

}

bool CameraParameters::NameLess::operator()(const std::string& a, const std::string& b) const
{
    const std::size_t length = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char x = static_cast<unsigned char>(LowerAscii(a[i]));
        const unsigned char y = static_cast<unsigned char>(LowerAscii(b[i]));
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

CameraParameters::CameraParameters(const CameraInfo& info) : mInfo(info)
{
    AddGeneralParams();
}

CameraParameters::CameraParameters(const CameraParameters& other) : mInfo(other.mInfo)
{
    AddGeneralParams();
    *this = other;
}

CameraParameters::~CameraParameters() = default;

CameraParameters& CameraParameters::operator=(const CameraParameters& other)
{
    if (&other == this) {
        return *this;
    }
    // Built aside first, so that a failure leaves this set as it was.
    std::vector<std::unique_ptr<Param_>> params;
    std::map<std::string, Param_*, NameLess> paramMap;
    std::vector<std::unique_ptr<Constraint>> constraints;
    params.reserve(other.mParams.size());
    for (const auto& param : other.mParams) {
        params.push_back(param->Clone());
        paramMap[params.back()->mName] = params.back().get();
    }
    constraints.reserve(other.mConstraints.size());
    for (const auto& constraint : other.mConstraints) {
        constraints.push_back(constraint->Clone());
    }
    mParams = std::move(params);
    mParamMap = std::move(paramMap);
    mConstraints = std::move(constraints);
    mInfo = other.mInfo;
    return *this;
}

void CameraParameters::AddGeneralParams()
{
    auto logLevel = std::make_unique<Param<int>>("General", "LogLevel", 1, 0, 4, 0);
    auto logIntoFile = std::make_unique<Param<bool>>("General", "LogIntoFile", false);
    logIntoFile->mPersistent = false;
    auto debugViewOutput = std::make_unique<Param<int>>("General", "DebugViewOutput", 0, 0, 4, 0);
    debugViewOutput->mVisible = false;
    // Frames a network camera keeps open for their missing packets each hold
    // a buffer: a site with a lossy link raises it.
    auto grabBuffers =
        std::make_unique<Param<int>>("General", "GrabBuffers", DefaultGrabBuffers, 2, MostGrabBuffers, 0);
    grabBuffers->mVisible = false;
    for (Param_* param : {static_cast<Param_*>(logLevel.get()), static_cast<Param_*>(logIntoFile.get()),
                          static_cast<Param_*>(debugViewOutput.get()), static_cast<Param_*>(grabBuffers.get())}) {
        param->mGeneral = true;
    }
    Add(std::move(logLevel));
    Add(std::move(logIntoFile));
    Add(std::move(debugViewOutput));
    Add(std::move(grabBuffers));
}

bool CameraParameters::Add(std::unique_ptr<Param_> param)
{
    if (!param || HasParam(param->mName)) {
        return false;
    }
    mParams.push_back(std::move(param));
    try {
        mParamMap[mParams.back()->mName] = mParams.back().get();
    } catch (...) {
        mParams.pop_back();
        throw;
    }
    return true;
}

Param_* CameraParameters::GetParam(const std::string& name) const
{
    const auto found = mParamMap.find(name);
    if (found == mParamMap.end()) {
        throw std::runtime_error("CameraParameters::GetParam: Parameter '" + name + "' does not exist");
    }
    return found->second;
}

bool CameraParameters::HasParam(const std::string& name) const
{
    return mParamMap.find(name) != mParamMap.end();
}

void CameraParameters::AddConstraint(std::unique_ptr<Constraint> constraint)
{
    if (!constraint) {
        return;
    }
    constraint->Reorder(mParams);
    mConstraints.push_back(std::move(constraint));
}

int CameraParameters::GetLogLevel() const
{
    return ValueOr<int>(*this, "LogLevel", 1);
}

bool CameraParameters::GetLogIntoFile() const
{
    return ValueOr<bool>(*this, "LogIntoFile", false);
}

int CameraParameters::GetDebugViewOutput() const
{
    return ValueOr<int>(*this, "DebugViewOutput", 0);
}

int CameraParameters::GetGrabBuffers() const
{
    return ValueOr<int>(*this, "GrabBuffers", DefaultGrabBuffers);
}
