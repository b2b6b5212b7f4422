#include "alerts/alert_settings.h"

bool AlertSettings::operator==(const AlertSettings& other) const {
    return playVoice == other.playVoice && stopLossSound == other.stopLossSound &&
           moveStopLossSound == other.moveStopLossSound && takeProfitSound == other.takeProfitSound &&
           phoneMessage == other.phoneMessage && qqMessage == other.qqMessage &&
           phoneNumber == other.phoneNumber && qqNickname == other.qqNickname &&
           webhookMessage == other.webhookMessage && webhookFormat == other.webhookFormat &&
           webhookUrl == other.webhookUrl;
}
