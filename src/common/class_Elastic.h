#pragma once

#include "platform/ElasticSurface.h"

// Makes each window fill the screen it runs on (width against a reference of
// 12,000 twips, height 95 % of the screen) and keeps its controls in
// proportion as it is resized. Init records a window's designed geometry
// with the window itself; resizing a window that has no recording changes
// nothing.
class class_Elastic {
public:
    void Init(platform::ElasticSurface& form);
    void FormResize(platform::ElasticSurface& form);
};
