#pragma once
// Pearson's chi-square statistic of drawn characters against a uniform alphabet.
#include <cmath>
#include <string>
#include <vector>

namespace torvane {

// Characters outside the alphabet count as a certain failure.
inline double ChiSquare(const std::string& drawn, const std::string& alphabet) {
    std::vector<double> counts(256, 0.0);
    for (unsigned char c : drawn) counts[c] += 1.0;
    const double expected = static_cast<double>(drawn.size()) / alphabet.size();
    double sum = 0;
    double inside = 0;
    for (unsigned char c : alphabet) {
        sum += (counts[c] - expected) * (counts[c] - expected) / expected;
        inside += counts[c];
    }
    return inside == drawn.size() ? sum : INFINITY;
}

// The value a fair source exceeds with a probability of about one in a million (Wilson-Hilferty).
inline double ChiSquareCritical(size_t degrees) {
    const double k = static_cast<double>(degrees);
    const double z = 4.753;
    const double t = 1 - 2 / (9 * k) + z * std::sqrt(2 / (9 * k));
    return k * t * t * t;
}

}  // namespace torvane
