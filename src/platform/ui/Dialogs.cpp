#include "platform/ui/Dialogs.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include "platform/ui/Text.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <iterator>
#include <libintl.h>

namespace {

QString Catalogue_Text(const char* Id) { return QString::fromUtf8(dgettext("default", Id)); }

// Script names of the font dialog with their character sets.
const std::pair<const char*, int> Scripts[] = {
    {"Western", 0}, {"Default", 1}, {"Central European", 238}, {"Cyrillic", 204},
    {"Greek", 161}, {"Turkish", 162}, {"Hebrew", 177}, {"Arabic", 178}, {"Baltic", 186}};

// The other ids looked up below.
const char* const Fixed_Ids[] = {"OK", "Yes", "No", "Cancel", "Font", "Size", "Bold", "Script"};

QString Current_Text(const std::string& Bytes) { return ui::To_Q(Bytes, ui::Charset.Current); }

QString Title_Text()
{
    return Application ? Current_Text(Application->Title()) : QString("KardunGD");
}

// "Text files (*.txt)|*.txt;*.text|All (*.*)|*.*" -> Qt name filters "Text files (*.txt *.text)".
QStringList Name_Filters(const std::string& Filter)
{
    QStringList Parts = QString::fromStdString(Filter).split('|');
    QStringList Out;
    for (int I = 0; I + 1 < Parts.size(); I += 2) {
        QString Description = Parts[I].trimmed();
        const QString Patterns = Parts[I + 1].split(';', Qt::SkipEmptyParts).join(' ');
        if (Description.endsWith(')')) {
            const qsizetype Open = Description.lastIndexOf('(');
            if (Open > 0) Description = Description.left(Open).trimmed();
        }
        Out << Description + " (" + Patterns + ")";
    }
    return Out;
}

}  // namespace

// ---------------------------------------------------------------- file dialogs

TFile_Dialog::TFile_Dialog(TComponent* Owner, bool Save) : TComponent(Owner), FSave(Save) {}

bool TFile_Dialog::Execute()
{
    ui::TDialog_Answer Answer;
    if (ui::Take_Dialog_Answer(ui::TDialog_Record{FSave ? "save" : "open", FTitle, -1, -1}, &Answer)) {
        if (Answer.Result != mrOk || Answer.File_Name.empty()) return false;
        FFile_Name = Answer.File_Name;
        return true;
    }
    QFileDialog Dialog(nullptr, Current_Text(FTitle), QString::fromStdString(FInitial_Dir));
    Dialog.setOption(QFileDialog::DontUseNativeDialog);
    Dialog.setAcceptMode(FSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    Dialog.setFileMode(FSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (FSave) Dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Patterns match names in any letter case ("*.hex" lists "MAIN_.HEX" too), as on the
    // file systems the program's files come from.
    Dialog.setFilter(Dialog.filter() & ~QDir::CaseSensitive);
    const QStringList Filters = Name_Filters(FFilter);
    if (!Filters.isEmpty()) {
        Dialog.setNameFilters(Filters);
        if (FFilter_Index >= 1 && FFilter_Index <= Filters.size())
            Dialog.selectNameFilter(Filters[FFilter_Index - 1]);
    }
    if (!FDefault_Ext.empty()) Dialog.setDefaultSuffix(QString::fromStdString(FDefault_Ext));
    if (!FFile_Name.empty()) Dialog.selectFile(QString::fromStdString(FFile_Name));
    const QPointer<QWidget> Asking = ui::Place_Modal(&Dialog);
    int Result = QDialog::Rejected;
    {
        ui::Modal_Scope Scope;
        Result = Dialog.exec();
    }
    ui::Back_From_Modal(Asking);
    if (Result != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return false;
    FFile_Name = Dialog.selectedFiles().first().toStdString();
    const int Index = static_cast<int>(Filters.indexOf(Dialog.selectedNameFilter()));
    if (Index >= 0) FFilter_Index = Index + 1;
    return true;
}

// ---------------------------------------------------------------- font dialog

bool TFontDialog::Execute()
{
    ui::TDialog_Answer Answer;
    if (ui::Take_Dialog_Answer(ui::TDialog_Record{"font", FFont.Name(), -1, -1}, &Answer)) {
        if (Answer.Result != mrOk) return false;
        if (!Answer.Font_Name.empty()) FFont.Name(Answer.Font_Name);
        FFont.Charset(Answer.Font_Charset);
        return true;
    }
    QDialog Dialog;
    Dialog.setWindowTitle(Catalogue_Text("Font"));
    auto* Layout = new QFormLayout(&Dialog);
    auto* Family = new QFontComboBox(&Dialog);
    Family->setCurrentFont(QFont(QString::fromStdString(FFont.Name())));
    auto* Size = new QSpinBox(&Dialog);
    Size->setRange(4, 96);
    Size->setValue(FFont.Size());
    auto* Bold = new QCheckBox(&Dialog);
    Bold->setChecked(FFont.Style() & fsBold);
    auto* Script = new QComboBox(&Dialog);
    for (const auto& [Name, Charset] : Scripts) {
        Script->addItem(Catalogue_Text(Name), Charset);
        if (Charset == FFont.Charset()) Script->setCurrentIndex(Script->count() - 1);
    }
    Layout->addRow(Catalogue_Text("Font"), Family);
    Layout->addRow(Catalogue_Text("Size"), Size);
    Layout->addRow(Catalogue_Text("Bold"), Bold);
    Layout->addRow(Catalogue_Text("Script"), Script);
    auto* Buttons = new QDialogButtonBox(&Dialog);
    Buttons->addButton(Catalogue_Text("OK"), QDialogButtonBox::AcceptRole);
    Buttons->addButton(Catalogue_Text("Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(Buttons, &QDialogButtonBox::accepted, &Dialog, &QDialog::accept);
    QObject::connect(Buttons, &QDialogButtonBox::rejected, &Dialog, &QDialog::reject);
    Layout->addRow(Buttons);
    const QPointer<QWidget> Asking = ui::Place_Modal(&Dialog);
    int Result = QDialog::Rejected;
    {
        ui::Modal_Scope Scope;
        Result = Dialog.exec();
    }
    ui::Back_From_Modal(Asking);
    if (Result != QDialog::Accepted) return false;
    FFont.Name(Family->currentFont().family().toStdString());
    FFont.Size(Size->value());
    FFont.Style(Bold->isChecked() ? (FFont.Style() | fsBold) : (FFont.Style() & ~fsBold));
    FFont.Charset(Script->currentData().toInt());
    return true;
}

// ---------------------------------------------------------------- message boxes

int Message_Box(const std::string& Text, TMsg_Kind Kind, TMsg_Buttons Buttons, int Default, int X, int Y)
{
    static const char* const Kind_Names[] = {"warning", "information", "error", "confirmation"};
    ui::TDialog_Answer Answer;
    if (ui::Take_Dialog_Answer(
            ui::TDialog_Record{Kind_Names[static_cast<int>(Kind)], Text, X, Y, Default}, &Answer))
        return Answer.Result;
    QMessageBox::Icon Icon = QMessageBox::Warning;
    switch (Kind) {
    case TMsg_Kind::Information: Icon = QMessageBox::Information; break;
    case TMsg_Kind::Error: Icon = QMessageBox::Critical; break;
    case TMsg_Kind::Confirmation: Icon = QMessageBox::Question; break;
    default: break;
    }
    // The box belongs to the window it is asked from: a window manager keeps a transient
    // above its parent, and a window that stays on top (the parent or another) is below
    // the box only when the box stays on top too. Without a parent the box would be
    // transient for the program as a whole and could lie under a window that stays on top.
    TForm* Asking = ui::Asking_Form();
    QWidget* Parent = Asking ? Asking->Widget() : nullptr;
    // Made on the heap: should the asking window go while the box is open, the box goes
    // with it and the answer is the one of closing the box.
    QPointer<QMessageBox> Box =
        new QMessageBox(Icon, Title_Text(), ui::Caption_Text(Text, ui::Charset.Current), QMessageBox::NoButton, Parent);
    if (ui::Stays_On_Top(Parent) || ui::Any_Shown_On_Top(Box)) Box->setWindowFlag(Qt::WindowStaysOnTopHint);
    QPushButton* Ok = nullptr;
    QPushButton* Yes = nullptr;
    QPushButton* No = nullptr;
    QPushButton* Cancel = nullptr;
    if (Buttons == TMsg_Buttons::OK) {
        Ok = Box->addButton(Catalogue_Text("OK"), QMessageBox::AcceptRole);
        Box->setEscapeButton(Ok);
        Box->setDefaultButton(Ok);
    } else {
        Yes = Box->addButton(Catalogue_Text("Yes"), QMessageBox::YesRole);
        No = Box->addButton(Catalogue_Text("No"), QMessageBox::NoRole);
        if (Buttons == TMsg_Buttons::Yes_No_Cancel)
            Cancel = Box->addButton(Catalogue_Text("Cancel"), QMessageBox::RejectRole);
        Box->setDefaultButton(Default == mrYes ? Yes : Default == mrCancel && Cancel ? Cancel : No);
        Box->setEscapeButton(Cancel ? Cancel : No);
    }
    if (X >= 0 && Y >= 0) Box->move(X, Y);
    const QPointer<QWidget> Asked_From = Parent;
    {
        ui::Modal_Scope Scope;
        Box->exec();
    }
    ui::Back_From_Modal(Asked_From);
    QAbstractButton* Clicked = Box ? Box->clickedButton() : nullptr;
    delete Box;
    if (Clicked && Clicked == Ok) return mrOk;
    if (Clicked && Clicked == Yes) return mrYes;
    if (Clicked && Clicked == No) return mrNo;
    if (Buttons == TMsg_Buttons::OK) return mrOk;
    return Cancel ? mrCancel : mrNo;
}

namespace ui {

std::vector<std::string> Catalogue_Ids()
{
    std::vector<std::string> Ids(std::begin(Fixed_Ids), std::end(Fixed_Ids));
    for (const auto& Script : Scripts) Ids.push_back(Script.first);
    return Ids;
}

void Show_Exception_Box(const std::string& Message)
{
    auto* Box = new QMessageBox(QMessageBox::Warning, Title_Text(),
                                ui::Caption_Text(Message, ui::Charset.Current));
    Box->addButton(Catalogue_Text("OK"), QMessageBox::AcceptRole);
    Box->setAttribute(Qt::WA_DeleteOnClose);
    Box->setModal(false);
    Box->show();
}

}  // namespace ui
