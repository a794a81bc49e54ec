// The threshold between the bed and the items on it, found by clustering
// the samples into a dark and a bright class (two-means).
#pragma once

#include <cstdint>
#include <vector>

namespace detection {

struct ClassMeans {
    int low = 3;
    int high = 250;
};

// The clustering stops after this many rounds even when the means still move.
constexpr int kMaxClusterRounds = 256;

// From the means 3 and 250, every sample goes to the class whose mean is
// nearer (the dark one on a tie) and the means become the integer averages
// of their classes, until both moved by less than 2. An empty class ends the
// clustering with the means it had.
ClassMeans TwoMeans(const std::vector<uint8_t>& samples);

// Reflective items: a dark class near 47 is the printed pattern of the lid,
// which must be removed; the threshold is then the dark mean as it is,
// otherwise the dark mean held to 25..42.
struct ReflectiveThreshold {
    int value = 0;
    bool patternVisible = false;
};
ReflectiveThreshold ThresholdForReflective(const ClassMeans& means);

// Transparencies: a little above the dark mean.
int ThresholdForTransparency(const ClassMeans& means);

// The level a pixel of an empty film-holder frame (light table alone)
// reaches, from the bright mean: 250, 248 or 246.
int LightTableLevel(const ClassMeans& means);

}  // namespace detection
