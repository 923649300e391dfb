#include "sys_controller.h"

namespace cntsys {

SysController::SysController(QObject* parent) : QObject(parent) {}

SysController::~SysController() = default;

void SysController::SetLink(KoTcpClient*) {}

void SysController::SetStatusBar(QStatusBar*) {}

void SysController::SetParentWidget(QWidget*) {}

void SysController::ShowSettingsDialog(QWidget*) {}

void SysController::sMessageReceived(uint, QByteArray) {}

} // namespace cntsys
