#include "alerts/alert_settings.h"

bool operator==(const AlertOptions& one, const AlertOptions& other) {
    return one.playVoice == other.playVoice && one.stopLossSound == other.stopLossSound &&
           one.moveStopLossSound == other.moveStopLossSound && one.takeProfitSound == other.takeProfitSound &&
           one.phoneMessage == other.phoneMessage && one.qqMessage == other.qqMessage &&
           one.phoneNumber == other.phoneNumber && one.qqNickname == other.qqNickname &&
           one.webhookMessage == other.webhookMessage && one.webhookFormat == other.webhookFormat &&
           one.webhookUrl == other.webhookUrl && one.webhookSecret == other.webhookSecret &&
           one.pushDailyLimit == other.pushDailyLimit && one.dailyReport == other.dailyReport;
}
