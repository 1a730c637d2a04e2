#include "records/ranking_sort.h"

#include <QtGlobal>

namespace {
struct Sorter {
    std::vector<qint32>& keys;
    std::vector<qint32>& values;
    std::vector<qint32> bufKeys, bufValues;

    void sort(int low, int high)
    {
        if (low >= high) return;
        const int mid = (low + high) / 2;
        sort(low, mid);
        sort(mid + 1, high);
        // Buffer the left half, then merge back into place.
        const int leftCount = mid - low + 1;
        for (int i = 0; i < leftCount; ++i) {
            bufKeys[std::size_t(i)] = keys[std::size_t(low + i)];
            bufValues[std::size_t(i)] = values[std::size_t(low + i)];
        }
        int i = 0, j = mid + 1, k = low;
        while (i < leftCount && j <= high) {
            // The right element goes first only when strictly smaller: stable.
            if (keys[std::size_t(j)] < bufKeys[std::size_t(i)]) {
                keys[std::size_t(k)] = keys[std::size_t(j)];
                values[std::size_t(k)] = values[std::size_t(j)];
                ++j;
            } else {
                keys[std::size_t(k)] = bufKeys[std::size_t(i)];
                values[std::size_t(k)] = bufValues[std::size_t(i)];
                ++i;
            }
            ++k;
        }
        for (; i < leftCount; ++i, ++k) {
            keys[std::size_t(k)] = bufKeys[std::size_t(i)];
            values[std::size_t(k)] = bufValues[std::size_t(i)];
        }
    }
};
} // namespace

void rankingSort(std::vector<qint32>& keys, std::vector<qint32>& values, int n)
{
    if (n < 2) return;
    Q_ASSERT(keys.size() > std::size_t(n) && values.size() > std::size_t(n));
    Sorter s{keys, values, std::vector<qint32>(std::size_t(n / 2 + 1)), std::vector<qint32>(std::size_t(n / 2 + 1))};
    s.sort(1, n);
}
