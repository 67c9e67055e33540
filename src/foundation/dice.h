#pragma once
// The random source of generated centres (the demo installation and the
// benchmark centre). The mapping from the engine's output onto a range is our
// own, so one seed gives the same centre with every standard library.

#include <QDate>

#include <algorithm>
#include <utility>
#include <vector>

namespace fitrova {

template <typename Engine>
class Dice {
public:
    using Value = typename Engine::result_type;

    explicit Dice(Value seed) : m_gen(seed) {}

    // A whole number in [lo, hi]; lo when the range is empty.
    int between(int lo, int hi)
    {
        if (hi <= lo)
            return lo;
        return lo + int(m_gen() % Value(hi - lo + 1));
    }
    // True in `percent` cases of a hundred.
    bool chance(int percent) { return between(0, 99) < percent; }
    template <typename T>
    const T &pick(const std::vector<T> &v) { return v[size_t(between(0, int(v.size()) - 1))]; }
    // An index into `weights`, chosen in proportion to the weights.
    int weighted(const std::vector<int> &weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = between(0, total - 1);
        for (size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return int(i);
            r -= weights[i];
        }
        return int(weights.size()) - 1;
    }
    QDate dayBetween(const QDate &from, const QDate &to)
    {
        return from.addDays(between(0, int(std::max<qint64>(0, from.daysTo(to)))));
    }
    template <typename T>
    void shuffle(std::vector<T> &v)
    {
        for (size_t i = v.size(); i > 1; --i)
            std::swap(v[i - 1], v[size_t(between(0, int(i) - 1))]);
    }

protected:
    Engine m_gen;
};

} // namespace fitrova
