#include "gen.h"

std::vector<gen::Step> &gen::extraSteps()
{
    static std::vector<Step> steps;
    return steps;
}
