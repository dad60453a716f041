#include "edit/repeatedframes.h"

#include "edit/framelist.h"

#include <wx/image.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
// The sum of the differences of the bytes of two rows.
unsigned long long RowDifference(const unsigned char* a, const unsigned char* b, size_t bytes)
{
    // Screen recordings repeat most rows exactly.
    if (std::memcmp(a, b, bytes) == 0)
        return 0;
    unsigned long long sum = 0;
    for (size_t k = 0; k < bytes; ++k)
        sum += unsigned(std::abs(int(a[k]) - int(b[k])));
    return sum;
}

unsigned long long AlphaRowDifference(const wxImage& a, const wxImage& b, size_t offset,
                                      size_t count)
{
    const unsigned char* alphaA = a.HasAlpha() ? a.GetAlpha() + offset : nullptr;
    const unsigned char* alphaB = b.HasAlpha() ? b.GetAlpha() + offset : nullptr;
    unsigned long long sum = 0;
    for (size_t k = 0; k < count; ++k)
        sum += unsigned(std::abs(int(alphaA ? alphaA[k] : 255) - int(alphaB ? alphaB[k] : 255)));
    return sum;
}
}  // namespace

double PictureDifference(const wxImage& a, const wxImage& b, double limit)
{
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize())
        return -1;
    if (a.IsSameAs(b))
        return 0;
    const size_t width = size_t(a.GetWidth());
    const size_t height = size_t(a.GetHeight());
    const bool alpha = a.HasAlpha() || b.HasAlpha();
    const double channels = alpha ? 4 : 3;
    const double values = double(width * height) * channels;
    if (values == 0)
        return 0;
    const double stopAt = limit * values;
    unsigned long long sum = 0;
    for (size_t y = 0; y < height; ++y)
    {
        sum += RowDifference(a.GetData() + y * width * 3, b.GetData() + y * width * 3, width * 3);
        if (alpha)
            sum += AlphaRowDifference(a, b, y * width, width);
        if (double(sum) > stopAt)
            break;
    }
    return double(sum) / values;
}

std::vector<int> FindRepeatedFrames(const FrameList& list, int defaultDelay, double tolerance,
                                    const std::vector<int>& scope)
{
    std::vector<bool> inScope(size_t(list.GetCount()), scope.empty());
    for (int index : scope)
        if (index >= 0 && index < list.GetCount())
            inScope[size_t(index)] = true;

    std::vector<int> repeated;
    int kept = -1;
    long long keptDelay = 0;
    for (int i = 0; i < list.GetCount(); ++i)
    {
        if (!inScope[size_t(i)])
        {
            kept = -1;
            continue;
        }
        const int delay = list.GetDelay(i, defaultDelay);
        if (kept >= 0 && keptDelay + delay <= kMaxFrameDelay)
        {
            const double difference = PictureDifference(list.Get(kept).source->Picture(),
                                                         list.Get(i).source->Picture(), tolerance);
            if (difference >= 0 && difference <= tolerance)
            {
                repeated.push_back(i);
                keptDelay += delay;
                continue;
            }
        }
        kept = i;
        keptDelay = delay;
    }
    return repeated;
}

bool RemoveRepeatedFrames(FrameList& list, int defaultDelay, const std::vector<int>& repeated)
{
    std::vector<int> removed;
    for (int index : repeated)
        if (index > 0 && index < list.GetCount())
            removed.push_back(index);
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    if (removed.empty())
        return false;

    // Each removed frame's time goes to the nearest kept frame before it.
    std::vector<long long> delays(size_t(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i)
        delays[size_t(i)] = list.GetDelay(i, defaultDelay);
    int kept = 0;
    size_t next = 0;
    for (int i = 0; i < list.GetCount(); ++i)
    {
        if (next < removed.size() && removed[next] == i)
        {
            delays[size_t(kept)] += delays[size_t(i)];
            ++next;
        }
        else
            kept = i;
    }
    for (int i = 0; i < list.GetCount(); ++i)
        if (delays[size_t(i)] != list.GetDelay(i, defaultDelay))
            list.SetOwnDelay({i}, int(std::min<long long>(delays[size_t(i)], kMaxFrameDelay)));
    return list.Remove(removed);
}
