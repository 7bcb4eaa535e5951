#pragma once

#include <any>

namespace platform {

// What the proportional layout needs of a window. Sizes are in twips; the
// controls are addressed by their place in the window's own order.
class ElasticSurface {
public:
    struct Control {
        bool isLine = false;  // a line: top/left/height/width stand for Y1/X1/Y2/X2
        bool hasFont = false; // lines, shapes and pictures have none
        double top = 0;
        double left = 0;
        double height = 0;
        double width = 0;
        double fontSize = 0;
    };

    virtual ~ElasticSurface() = default;
    virtual double heightTwips() const = 0;
    virtual double widthTwips() const = 0;
    // Setting a size does not run the window's resize handler by itself.
    virtual void setHeightTwips(double twips) = 0;
    virtual void setWidthTwips(double twips) = 0;
    // What the frame (caption and borders) adds to the height and the width,
    // as far as it is known yet: a desktop frames a window once it is shown.
    virtual double frameHeightTwips() const { return 0; }
    virtual double frameWidthTwips() const { return 0; }
    virtual bool isMaximised() const = 0;
    virtual int controlCount() const = 0;
    virtual Control control(int index) const = 0;
    virtual void placeControl(int index, int top, int left, int height, int width) = 0;
    virtual void setControlFontSize(int index, int points) = 0;
    // Widens or narrows the columns of a control that has them (a grid) by
    // `ratio` of the widths they were given.
    virtual void scaleControlColumns(int index, double ratio) {}
    // Runs the window's resize handler, as a change of size made by code does.
    virtual void raiseResize() = 0;

    // The layout's recording of this window, kept with the window so that it
    // goes with it and is never applied to another one.
    std::any& layoutRecording() { return layoutRecording_; }

private:
    std::any layoutRecording_;
};

} // namespace platform
