#pragma once

#include <QString>

// How long something has been running, as the System and Process tabs show it: above a
// minute rounded to the nearest minute, then "2 days, " followed by either "h:mm:ss"
// (when there are hours and minutes) or the non-zero parts among "1 hour, ", "5 mins, "
// and "30 secs". The two tabs differ only in how the hours field is padded.
class ElapsedTimeText {
public:
    enum class HoursPadding { Blank, Zero };

    static QString fromSeconds(long long seconds, HoursPadding padding);
};
