#pragma once

#include "thermo/Oil.h"

#include <vector>

namespace quorvel {

// Keeps the feed of an equilibrium object and gives it back when the scope ends, so that a
// calculation that flashes or replaces the feed leaves a long-lived interface as it was.
class FeedKeeper {
public:
    explicit FeedKeeper(Oil& oil) : mOil(oil), mFeed(oil.feedComposition()) {}
    ~FeedKeeper()
    {
        for (short i = 0; i < mOil.componentCount(); ++i)
            mOil.composition(i, mFeed[i]);
    }
    FeedKeeper(const FeedKeeper&) = delete;
    FeedKeeper& operator=(const FeedKeeper&) = delete;

    const std::vector<double>& feed() const { return mFeed; }

private:
    Oil& mOil;
    std::vector<double> mFeed;
};

} // namespace quorvel
