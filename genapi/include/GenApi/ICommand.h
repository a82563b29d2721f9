// ICommand: an action the camera carries out.
#ifndef GENAPI_ICOMMAND_H
#define GENAPI_ICOMMAND_H

#include <GenApi/IValue.h>

namespace GenApi {

struct ICommand : virtual IValue {
    virtual void Execute(bool Verify = true) = 0;
    // True once the camera has finished the last Execute.
    virtual bool IsDone(bool Verify = true) = 0;
    void operator()() { Execute(); }
};

} // namespace GenApi

#endif
