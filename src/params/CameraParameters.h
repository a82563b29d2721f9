// The parameters of one camera: the four driver settings of "General",
// then one parameter per usable camera feature, in the order in which they
// are written to the camera; found by name without regard to ASCII case.
#pragma once

#include "params/CameraInfo.h"
#include "params/Constraint.h"
#include "params/Param_.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class SettingsFile;

class CameraParameters {
public:
    explicit CameraParameters(const CameraInfo& info);
    // A fresh set's "General" settings, then assigned from other.
    CameraParameters(const CameraParameters& other);
    // Clones of other's parameters and constraints replace this set's.
    CameraParameters& operator=(const CameraParameters& other);
    ~CameraParameters();

    // Takes the parameter unless one of that name (in any case) is present;
    // a refused parameter is freed. True when it was taken.
    bool Add(std::unique_ptr<Param_> param);
    // Never null: a missing name raises std::runtime_error.
    Param_* GetParam(const std::string& name) const;
    bool HasParam(const std::string& name) const;
    // Takes the constraint and reorders the parameters by it at once.
    void AddConstraint(std::unique_ptr<Constraint> constraint);

    // Applies the constraints, then checks every enabled parameter; false
    // with the first problem in error (untouched when true).
    bool Validate(std::string& error);

    // The settings file: persistent, enabled parameters only. ReadSettings
    // reads the file; with a loaded file, it takes what that file read.
    bool ReadSettings();
    bool ReadSettings(const SettingsFile& file);
    void WriteSettings();

    static constexpr int DefaultGrabBuffers = 5;
    static constexpr int MostGrabBuffers = 64;

    // The driver settings, with 1, false, 0 and 5 when a setting has another type.
    int GetLogLevel() const;
    bool GetLogIntoFile() const;
    int GetDebugViewOutput() const;
    // Buffers the camera's stream announces at least.
    int GetGrabBuffers() const;

    const std::vector<std::unique_ptr<Param_>>& GetParams() const { return mParams; }
    const CameraInfo& GetInfo() const { return mInfo; }

private:
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    void AddGeneralParams();
    bool IsVerticalBinning() const;

    std::vector<std::unique_ptr<Param_>> mParams;
    std::map<std::string, Param_*, NameLess> mParamMap;
    std::vector<std::unique_ptr<Constraint>> mConstraints;
    CameraInfo mInfo;
};
