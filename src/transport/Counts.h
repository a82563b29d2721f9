// The producer reports counts and sizes unsigned; the driver works with int.
#pragma once

#include <boost/numeric/conversion/cast.hpp>

#include <cstdint>

namespace Kavrix {

// Raises boost's "bad numeric conversion: positive overflow" for counts above INT_MAX.
inline int ToCount(std::uint32_t count)
{
    return boost::numeric_cast<int>(count);
}

}
