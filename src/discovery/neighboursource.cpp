#include "discovery/neighboursource.h"

namespace {

std::function<std::shared_ptr<NeighbourSource>()> &testFactory()
{
    static std::function<std::shared_ptr<NeighbourSource>()> factory;
    return factory;
}

} // namespace

std::shared_ptr<NeighbourSource> makeNeighbourSource()
{
    if (testFactory())
        return testFactory()();
    return makePlatformNeighbourSource();
}

void setNeighbourSourceForTesting(std::function<std::shared_ptr<NeighbourSource>()> factory)
{
    testFactory() = std::move(factory);
}
