#include "app/QtOperatorDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace gasmixer {

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

void QtOperatorDialogs::Information(const std::string& text)
{
    QMessageBox::information(parent_, QApplication::applicationDisplayName(), Q(text));
}

bool QtOperatorDialogs::Question(const std::string& text, const std::string& title)
{
    return QMessageBox::question(parent_, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void QtOperatorDialogs::Error(const std::string& text)
{
    QMessageBox::critical(parent_, QApplication::applicationDisplayName(), Q(text));
}

std::optional<std::string> QtOperatorDialogs::SaveFile(const SaveDialogSettings& settings)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Existing files are refused by the caller, which knows why.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(Q(settings.Filter));
    dialog.setDefaultSuffix(Q(settings.DefaultExt));
    dialog.setDirectory(Q(settings.InitialDir));
    dialog.selectFile(Q(settings.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtOperatorDialogs::OpenFile(const SaveDialogSettings& settings)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(Q(settings.Filter));
    dialog.setDirectory(Q(settings.InitialDir));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace gasmixer
