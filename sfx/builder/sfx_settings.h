// The builder's fields as its form holds them, without the form: texts, boxes, the overwrite radio
// group and the texts remembered while the temp and associated boxes are ticked.
#pragma once

#include <string>

namespace sfx {

struct SfxSettings {
    std::string zipPath;     // "Zip File"
    std::string outputPath;  // "Output Dir"
    std::string caption;
    std::string rootDir;
    std::string program;
    std::string params;
    bool hideRunBox = false;        // "Hide run program check box"
    bool allHilited = true;         // "Start with all files hilited"
    bool hideOverwrite = false;     // "Hide overwrite selection"
    int overwriteIndex = 0;         // 0 confirm, 1 overwrite, 2 skip existing files
    bool useAssociated = false;     // "Use windows associated progam"
    bool extractToTemp = false;     // "Extract to temp directory"
    bool sortList = false;          // "Sort list of files"

    // Texts put aside while a box empties its field; given back when the box is unticked.
    std::string rememberedRoot;
    std::string rememberedProgram;

    // The click handling of the temp and associated boxes: ticking puts the field's text aside and
    // empties it, unticking gives the remembered text back. Nothing happens when the state stays.
    void SetExtractToTemp(bool ticked);
    void SetUseAssociated(bool ticked);

    // After a save or a build the remembered texts are forgotten.
    void ForgetRemembered();
};

// Makes the run settings agree before a block is written: parameters without a program mean "open
// the parameters with the associated program"; the associated box without parameters is unticked.
void ReconcileRunSettings(SfxSettings& s);

}  // namespace sfx
