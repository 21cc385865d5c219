// The builder's main form. It binds its controls to the builder controller: every handler copies the
// fields into the controller's settings, runs one command and shows the settings and messages that
// come back.
#pragma once

#include <memory>

#include "framework/win32/dialogs.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_controls.h"
#include "sfx/builder/builder_controller.h"
#include "uisupport/win32/mlbuttons.h"

namespace sfx::builder {

class TForm1 : public fw::TForm {
public:
    using TForm::TForm;

    fw::TPanel* Panel1 = nullptr;
    fw::TImage* Image1 = nullptr;
    uis::TmlBlurButton* Button1 = nullptr;  // "Create"
    uis::TmlBlurButton* Button2 = nullptr;  // "Close"
    fw::TEdit* Edit1 = nullptr;             // Zip File
    fw::TEdit* Edit2 = nullptr;             // Caption
    fw::TEdit* Edit3 = nullptr;             // Root directory
    fw::TEdit* Edit4 = nullptr;             // Output
    fw::TEdit* Edit5 = nullptr;             // Program
    fw::TEdit* Edit6 = nullptr;             // Parameters
    fw::TBitBtn* BitBtn1 = nullptr;
    fw::TBitBtn* BitBtn2 = nullptr;
    fw::TBitBtn* BitBtn3 = nullptr;
    fw::TCheckBox* CheckBox1 = nullptr;  // hilite
    fw::TCheckBox* CheckBox2 = nullptr;  // hide overwrite
    fw::TCheckBox* CheckBox3 = nullptr;  // hide run
    fw::TCheckBox* CheckBox4 = nullptr;  // associated
    fw::TCheckBox* CheckBox5 = nullptr;  // temp
    fw::TCheckBox* CheckBox6 = nullptr;  // sort
    fw::TRadioGroup* RadioGroup1 = nullptr;
    fw::TMenuItem* Open1 = nullptr;
    fw::TMenuItem* New1 = nullptr;
    fw::TMenuItem* Save1 = nullptr;
    fw::TMenuItem* SaveAs1 = nullptr;
    fw::TOpenDialog* OpenDialog1 = nullptr;  // configuration files
    fw::TSaveDialog* SaveDialog1 = nullptr;
    fw::TOpenDialog* OpenDialog2 = nullptr;  // the archive and the program to run

    void FormCreate(fw::TObject* Sender);
    void FormActivate(fw::TObject* Sender);
    void Edit1Change(fw::TObject* Sender);
    void Edit1Exit(fw::TObject* Sender);
    void SetChangedFlag(fw::TObject* Sender);
    void CheckBox5Click(fw::TObject* Sender);
    void CheckBox4Click(fw::TObject* Sender);
    void BitBtn1Click(fw::TObject* Sender);
    void BitBtn2Click(fw::TObject* Sender);
    void BitBtn3Click(fw::TObject* Sender);
    void Button1Click(fw::TObject* Sender);
    void Button2Click(fw::TObject* Sender);
    void Exit1Click(fw::TObject* Sender);
    void Open1Click(fw::TObject* Sender);
    void Save1Click(fw::TObject* Sender);

protected:
    ~TForm1() override = default;

private:
    // Fields into the controller's settings (the temp and associated boxes change only through it).
    void ReadFields();
    // The controller's settings into the fields, without running their handlers.
    void ShowSettings();
    void Show(const Notices& notes);
    // The archive or program chooser: the chosen file, or "" when cancelled.
    std::string ChooseFile(const std::string& title, const std::string& filter);
    void Save(bool askName);
    void WMStubNotice(fw::TMessage& message);

    std::unique_ptr<BuilderController> controller_;
    fw::TColor defaultEditColor_ = fw::clWindow;
    bool updating_ = false;
    // The missing-extractor message: posted once per activation, and not again for the activation
    // that its own closing causes.
    bool stubNoticePending_ = false;
    bool stubNoticeClosed_ = false;
};

void RegisterBuilderClasses();

}  // namespace sfx::builder
