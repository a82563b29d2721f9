// ICategory: a group of features.
#ifndef GENAPI_ICATEGORY_H
#define GENAPI_ICATEGORY_H

#include <GenApi/IValue.h>

namespace GenApi {

struct ICategory : virtual IValue {
    virtual void GetFeatures(FeatureList_t& Features) const = 0;
};

} // namespace GenApi

#endif
