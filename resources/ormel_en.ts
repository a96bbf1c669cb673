<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Process</source>
        <translation>Process</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Disk</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>SystemStatus</source>
        <translation>System Status</translation>
    </message>
    <message>
        <source>ProcessStatus</source>
        <translation>Processes</translation>
    </message>
    <message>
        <source>MemoryStatus</source>
        <translation>Memory Status</translation>
    </message>
    <message>
        <source>DiskStatus</source>
        <translation>Disk Status</translation>
    </message>
    <message>
        <source>NetworkStatus</source>
        <translation>Network Status</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>UptimeInfo</source>
        <translation>Uptime</translation>
    </message>
    <message>
        <source>Uptime</source>
        <translation>Up for</translation>
    </message>
    <message>
        <source>LoadAvgInfo</source>
        <translation>Load Average</translation>
    </message>
    <message>
        <source>Avg1Min</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>Avg5Mins</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>Avg15Mins</source>
        <translation>15 minutes</translation>
    </message>
    <message>
        <source>BatteryInfo</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>NetworkInfo</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>LocationInfo</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>AccelerometerInfo</source>
        <translation>Accelerometer</translation>
    </message>
    <message>
        <source>FlashInfo</source>
        <translation>Flash Storage</translation>
    </message>
    <message>
        <source>DeviceInfo</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>KernelInfo</source>
        <translation>Kernel</translation>
    </message>
    <message>
        <source>HardwareInfo</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>WhoInfo</source>
        <translation>Logged-in Users</translation>
    </message>
    <message>
        <source>NoLoginUser</source>
        <translation>No one is logged in</translation>
    </message>
    <message>
        <source>NoIdleTime</source>
        <translation>--:--:--</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>HorizontalAccuracy</source>
        <translation>H. accuracy</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>VerticalAccuracy</source>
        <translation>V. accuracy</translation>
    </message>
    <message>
        <source>LocationInfoScanning</source>
        <translation>Scanning…</translation>
    </message>
    <message>
        <source>AccelerationX</source>
        <translation>X</translation>
    </message>
    <message>
        <source>AccelerationY</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>AccelerationZ</source>
        <translation>Z</translation>
    </message>
</context>
</TS>
