// The GenICam base types: text and exceptions.
#ifndef GENICAM_GCBASE_H
#define GENICAM_GCBASE_H

#include <cstdint>

#include <GenICam/GCException.h>
#include <GenICam/GCString.h>

#endif
