#include "FaultDice.h"

namespace GigeCamera {

FaultDice::FaultDice(const FaultOptions& faults, std::uint32_t seed) : mFaults(faults), mRandom(seed)
{
    for (unsigned kind = 1; kind <= Malformed::All; kind <<= 1)
        if ((faults.mMalformedKinds & kind) != 0)
            mKinds.push_back(kind);
}

bool FaultDice::Chance(double share)
{
    return share > 0 && std::uniform_real_distribution<double>(0, 1)(mRandom) < share;
}

bool FaultDice::DropOriginal()
{
    if (mBurstLeft > 0) {
        --mBurstLeft;
        return true;
    }
    // A run of N starts with a chance of share / N, so that the share of
    // packets lost stays as asked.
    if (!Chance(mFaults.mDrop / mFaults.mBurst))
        return false;
    mBurstLeft = mFaults.mBurst - 1;
    return true;
}

bool FaultDice::DropResent()
{
    return Chance(mFaults.mDropResent);
}

unsigned FaultDice::Malformed()
{
    if (mKinds.empty() || !Chance(mFaults.mMalformed))
        return 0;
    return mKinds[std::uniform_int_distribution<std::size_t>(0, mKinds.size() - 1)(mRandom)];
}

}
