#include "common/class_Elastic.h"

#include "platform/Screen.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using platform::ElasticSurface;

namespace {

struct Recording {
    int FormHeight = 0;
    int FormWidth = 0;
    double FrameHeight = 0; // the frame the window had, or was taken to have, when recorded
    double FrameWidth = 0;
    int LastIndex = -1;
    std::vector<int> Tops, Lefts, Heights, Widths, FontSizes;
    std::vector<bool> Lines;
    bool SkipNextResize = false;
};

Recording* recordingOf(ElasticSurface& form)
{
    return std::any_cast<Recording>(&form.layoutRecording());
}

// Recorded values are whole numbers of 16 bits; one that does not fit stays 0.
int record16(double value)
{
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return 0;
    return static_cast<int>(rounded);
}

int floorInt(double value)
{
    return static_cast<int>(std::floor(value));
}

} // namespace

void class_Elastic::Init(ElasticSurface& form)
{
    Recording& r = form.layoutRecording().emplace<Recording>();
    r.FormHeight = static_cast<int>(std::nearbyint(form.heightTwips()));
    r.FormWidth = static_cast<int>(std::nearbyint(form.widthTwips()));
    r.FrameHeight = form.frameHeightTwips();
    r.FrameWidth = form.frameWidthTwips();
    r.LastIndex = form.controlCount() - 1;
    r.SkipNextResize = true;
    const auto count = static_cast<std::size_t>(r.LastIndex + 1);
    r.Tops.assign(count, 0);
    r.Lefts.assign(count, 0);
    r.Heights.assign(count, 0);
    r.Widths.assign(count, 0);
    r.FontSizes.assign(count, 0);
    r.Lines.assign(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        const auto c = form.control(static_cast<int>(i));
        r.Lines[i] = c.isLine;
        r.Tops[i] = record16(c.top);
        r.Lefts[i] = record16(c.left);
        r.Heights[i] = record16(c.height);
        r.Widths[i] = record16(c.width);
        if (!c.isLine && c.hasFont)
            r.FontSizes[i] = record16(c.fontSize);
    }

    const auto& screen = platform::screen();
    if (!form.isMaximised()) {
        form.setHeightTwips(static_cast<float>(0.95 * screen.heightTwips()));
        form.raiseResize();
        // The designed width is the width frame included: a frame the window
        // is only taken to have (the last window's) must not widen it, or it
        // would be wider than on the first load of a run, when none is known.
        const double designed = form.widthTwips() - form.frameWidthTwips();
        form.setWidthTwips(static_cast<float>(designed * screen.widthTwips() / 12000.0));
        form.raiseResize();
    } else {
        form.setHeightTwips(screen.heightTwips());
        form.raiseResize();
        form.setWidthTwips(screen.widthTwips());
        form.raiseResize();
    }
    recordingOf(form)->SkipNextResize = true;
}

void class_Elastic::FormResize(ElasticSurface& form)
{
    Recording* found = recordingOf(form);
    if (!found)
        return;
    Recording& r = *found;
    if (r.SkipNextResize) {
        r.SkipNextResize = false;
        return;
    }

    // The designed size with the frame the window has now: the desktop may
    // frame a window only after it was recorded, with another frame than the
    // one it was taken to have (none, before any window was framed).
    const double formHeight = r.FormHeight - r.FrameHeight + form.frameHeightTwips();
    const double formWidth = r.FormWidth - r.FrameWidth + form.frameWidthTwips();

    // A window cannot be made smaller than half its designed size.
    if (static_cast<float>(form.heightTwips()) < static_cast<float>(formHeight) / 2.0f)
        form.setHeightTwips(formHeight / 2.0);
    if (static_cast<float>(form.widthTwips()) < static_cast<float>(formWidth) / 2.0f)
        form.setWidthTwips(formWidth / 2.0);

    const double h = form.heightTwips();
    const double w = form.widthTwips();
    if (h <= 400.0 || w <= 0.0 || formHeight <= 400 || formWidth <= 0)
        return;
    // 400 twips of the height (caption and borders) take no part in the scaling.
    const double qy = (formHeight - 400.0) / (h - 400.0);
    const double qx = formWidth / w;

    for (int i = 0; i <= r.LastIndex && i < form.controlCount(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        form.placeControl(i, floorInt(r.Tops[k] / qy), floorInt(r.Lefts[k] / qx), floorInt(r.Heights[k] / qy),
                          floorInt(r.Widths[k] / qx));
        if (r.Lines[k])
            continue;
        // A grid's columns widen with it, so that what fitted still fits in the larger font.
        form.scaleControlColumns(i, 1.0 / qx);
        // Font sizes follow the width only and are made even upwards.
        const int f = floorInt(r.FontSizes[k] / qx);
        const int size = f + (f % 2);
        if (size > 0)
            form.setControlFontSize(i, size);
    }
}
