#pragma once

// Measuring the pitch of recorded or decoded sound in tests.

#include <cstddef>

namespace TestSupport {

// Fundamental frequency of a stretch of mono samples, looked for near `expectedHz`: periods from
// 2.2 times shorter to 1.5 times longer than the expected one are considered, so a sound an octave
// too high is measured as such and not passed at the expected lag. The first half of the stretch
// is compared with the stretch shifted by each lag (a cumulative-mean-normalised difference), and
// the period found is refined over several periods to a fraction of a sample. 0 when the stretch
// is too short or holds no period.
double pitch(const float* mono, std::size_t count, int sampleRate, double expectedHz);

} // namespace TestSupport
