#pragma once
// The data processor's time-out timer: fires OnTimer every Interval ms while Enabled and assigned.
// Lives on the thread that created it.
#include <QObject>
#include <functional>

class TnrTimer : public QObject {
    Q_OBJECT
public:
    explicit TnrTimer(QObject* parent = nullptr);
    ~TnrTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int ms);
    void SetOnTimer(std::function<void(TnrTimer*)> handler);
    bool IsRunning() const { return FTimerId != 0; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void Rearm();

    bool FEnabled = true;
    int FInterval = 1000;
    int FTimerId = 0;
    std::function<void(TnrTimer*)> FOnTimer;
};
