// The fourteen images every screen draws with, loaded once at start-up and
// kept until shut-down.
#pragma once

class CIw2DImage;

struct ImageSet {
    CIw2DImage* back;            // back button of both lists and the board toolbar
    CIw2DImage* undo;            // Undo button
    CIw2DImage* drawBlank;       // Erase tool button
    CIw2DImage* drawFull;        // Drawing tool button
    CIw2DImage* drawX;           // Set X tool button
    CIw2DImage* clearAll;        // Clear All button
    CIw2DImage* question;        // legend toggle button
    CIw2DImage* completed;       // puzzle-list icon of a solved puzzle
    CIw2DImage* moveScale;       // Scale & Move toggle button
    CIw2DImage* opened;          // puzzle-list icon of a puzzle in progress
    CIw2DImage* closed;          // puzzle-list icon of a puzzle not yet started
    CIw2DImage* completedSolid;  // badge in the board's corner once solved
    CIw2DImage* borderElem;      // face of each size-class tile on the main menu
    CIw2DImage* premium;         // corner tile of the main menu
};

constexpr int kImageSetCount = 14;

// The image set of the running game; every handle is null before
// LoadImageSet and after ReleaseImageSet.
extern ImageSet imageSet;

// Path of image i (0..13) in loading order, or null.
const char* ImageSetPath(int i);
// Loads the fourteen images with CreateImage, in their fixed order. A missing
// file still gives a handle, one that draws nothing.
void LoadImageSet();
// Destroys every image and clears the handles.
void ReleaseImageSet();
