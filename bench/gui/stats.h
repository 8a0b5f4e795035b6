// Small helpers of the GUI benchmark's figures: medians and their printed forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorel::guibench {

// The median of the values (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);
// "123.4 ms"
std::string Milliseconds(double seconds);
// "12.3 MB" (10^6 bytes, as the targets are written)
std::string Megabytes(double bytes);

}  // namespace zorel::guibench
