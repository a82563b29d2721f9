// Enumerations and list types of the node-map interfaces, numbered as GenApi numbers them.
#ifndef GENAPI_TYPES_H
#define GENAPI_TYPES_H

#include <cstdint>
#include <vector>

#include <GenICam/GCBase.h>

namespace GenApi {

using GenICam::gcstring;
using GenICam::gcstring_vector;

enum EAccessMode { NI = 0, NA = 1, WO = 2, RO = 3, RW = 4, _UndefinedAccesMode };

enum EVisibility { Beginner = 0, Expert = 1, Guru = 2, Invisible = 3, _UndefinedVisibility = 99 };

enum ECachingMode { NoCache = 0, WriteThrough = 1, WriteAround = 2, _UndefinedCachingMode };

enum ERepresentation {
    Linear = 0,
    Logarithmic = 1,
    Boolean = 2,
    PureNumber = 3,
    HexNumber = 4,
    IPV4Address = 5,
    MACAddress = 6,
    _UndefinedRepresentation
};

enum EEndianess { BigEndian = 0, LittleEndian = 1, _UndefinedEndian };

enum ESign { Signed = 0, Unsigned = 1, _UndefinedSign };

enum ESlope { Increasing = 0, Decreasing = 1, Varying = 2, Automatic = 3, _UndefinedESlope };

enum ENameSpace { Custom = 0, Standard = 1, _UndefinedNameSpace };

enum EDisplayNotation { fnAutomatic = 0, fnFixed = 1, fnScientific = 2, _UndefinedEDisplayNotation };

enum EInterfaceType {
    intfIValue,
    intfIBase,
    intfIInteger,
    intfIBoolean,
    intfICommand,
    intfIFloat,
    intfIString,
    intfIRegister,
    intfICategory,
    intfIEnumeration,
    intfIEnumEntry,
    intfIPort
};

struct INode;
struct IValue;

using NodeList_t = std::vector<INode*>;
using FeatureList_t = std::vector<IValue*>;
using StringList_t = gcstring_vector;

} // namespace GenApi

#endif
