#include "controls/Beep.h"

#include <QApplication>

#include <utility>

namespace gasmixer {
namespace {

std::function<void()>& BeepHandler()
{
    static std::function<void()> handler;
    return handler;
}

}  // namespace

void Beep()
{
    if (const auto& handler = BeepHandler()) handler();
    else QApplication::beep();
}

void SetBeepHandler(std::function<void()> handler) { BeepHandler() = std::move(handler); }

}  // namespace gasmixer
