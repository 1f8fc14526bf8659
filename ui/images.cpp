// Loading and releasing the game's fourteen images.
#include "ui/images.h"

#include "draw2d/iw2d.h"

ImageSet imageSet;

namespace {

struct Entry {
    const char* path;
    CIw2DImage* ImageSet::*slot;
};

const Entry kEntries[kImageSetCount] = {
    {"images/back.png", &ImageSet::back},
    {"images/undo.png", &ImageSet::undo},
    {"images/draw_blank.png", &ImageSet::drawBlank},
    {"images/draw_full.png", &ImageSet::drawFull},
    {"images/draw_x.png", &ImageSet::drawX},
    {"images/clear_all.png", &ImageSet::clearAll},
    {"images/question.png", &ImageSet::question},
    {"images/completed.png", &ImageSet::completed},
    {"images/move_scale.png", &ImageSet::moveScale},
    {"images/opened.png", &ImageSet::opened},
    {"images/closed.png", &ImageSet::closed},
    {"images/completed_solid.png", &ImageSet::completedSolid},
    {"images/border_elem.png", &ImageSet::borderElem},
    {"images/premium.png", &ImageSet::premium},
};

}  // namespace

const char* ImageSetPath(int i) {
    return i >= 0 && i < kImageSetCount ? kEntries[i].path : nullptr;
}

void LoadImageSet() {
    for (const Entry& e : kEntries) {
        if (!(imageSet.*e.slot)) imageSet.*e.slot = CreateImage(e.path);
    }
}

void ReleaseImageSet() {
    for (const Entry& e : kEntries) {
        delete (imageSet.*e.slot);
        imageSet.*e.slot = nullptr;
    }
}
