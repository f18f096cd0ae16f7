#include "experiment_length.h"

#include <algorithm>

namespace tanabashigo {

double ExperimentLength::mean() const {
    double sum = 0;
    for (std::size_t t = 0; t < endsWith.size(); ++t) {
        sum += static_cast<double>(t) * endsWith[t];
    }
    return sum;
}

int ExperimentLength::median() const {
    double ended = 0;
    for (std::size_t t = 0; t < endsWith.size(); ++t) {
        ended += endsWith[t];
        // A sum of rounded terms may fall short of 1/2 by a rounding error only.
        if (ended >= 0.5 - 1e-12) {
            return static_cast<int>(t);
        }
    }
    return static_cast<int>(endsWith.size()) - 1;
}

double ExperimentLength::endedBy(int t) const {
    double ended = 0;
    for (int s = 0; s <= t && s < static_cast<int>(endsWith.size()); ++s) {
        ended += endsWith[static_cast<std::size_t>(s)];
    }
    return std::min(ended, 1.0);
}

// The experiment lasts beyond trial t exactly when its first t landings leave no column over
// capacity: P(T > t) = t! [x^t] prod_k sum_{j <= capacity} (p_k x)^j / j!. The product's
// coefficients are sums of positive terms, so nothing cancels; a long double holds 1 / 200!.
ExperimentLength experimentLength(const ColumnLaw& law, int capacity) {
    const int most = kLineCount * capacity;  // landings that fit without ending
    std::vector<long double> product(static_cast<std::size_t>(most) + 1, 0.0L);
    product[0] = 1;
    std::vector<long double> factor(static_cast<std::size_t>(capacity) + 1);
    int degree = 0;
    for (const double p : law) {
        factor[0] = 1;  // (p x)^j / j!
        for (int j = 1; j <= capacity; ++j) {
            factor[j] = factor[j - 1] * p / j;
        }
        degree += capacity;
        for (int t = degree; t >= 0; --t) {
            long double sum = 0;
            for (int j = 0; j <= std::min(t, capacity); ++j) {
                sum += factor[j] * product[t - j];
            }
            product[t] = sum;
        }
    }
    std::vector<long double> within(product.size());  // P(T > t)
    long double factorial = 1;
    for (std::size_t t = 0; t < product.size(); ++t) {
        factorial *= t == 0 ? 1 : t;
        within[t] = product[t] * factorial;
    }
    // P(T > t) = within[t]; the experiment ends with trial t + 1 at the latest after `most`.
    ExperimentLength length;
    length.endsWith.assign(static_cast<std::size_t>(most) + 2, 0.0);
    for (int t = 1; t <= most + 1; ++t) {
        const long double before = within[static_cast<std::size_t>(t - 1)];
        const long double after = t <= most ? within[static_cast<std::size_t>(t)] : 0.0L;
        length.endsWith[static_cast<std::size_t>(t)] =
            static_cast<double>(std::max(before - after, 0.0L));
    }
    return length;
}

}  // namespace tanabashigo
