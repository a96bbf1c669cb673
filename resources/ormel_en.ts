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
    <message>
        <source>MainApps</source>
        <translation>Main Applications</translation>
    </message>
    <message>
        <source>MobileProcs</source>
        <translation>User Processes</translation>
    </message>
    <message>
        <source>OtherProcs</source>
        <translation>Other Processes</translation>
    </message>
    <message>
        <source>ProcessDetails</source>
        <translation>Process Details</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>COMMAND</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>USER</source>
        <translation>User</translation>
    </message>
    <message>
        <source>GROUP</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>PID</source>
        <translation>PID</translation>
    </message>
    <message>
        <source>PPID</source>
        <translation>PPID</translation>
    </message>
    <message>
        <source>PGID</source>
        <translation>PGID</translation>
    </message>
    <message>
        <source>STATE</source>
        <translation>State</translation>
    </message>
    <message>
        <source>PRIORITY</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>RMEM</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>STARTTIME</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>UPTIME</source>
        <translation>Uptime</translation>
    </message>
    <message>
        <source>INFO</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>ADVICE</source>
        <translation>Advice</translation>
    </message>
    <message>
        <source>RebootSystem</source>
        <translation>Restart the device to clear it</translation>
    </message>
    <message>
        <source>Advice</source>
        <translation>Advice</translation>
    </message>
    <message>
        <source>HowToKillZombie</source>
        <translation>This process has already ended and waits for its parent to collect its exit status. Signals do not reach it: it disappears when its parent collects it or ends. If it stays, restart the device.</translation>
    </message>
    <message>
        <source>SendSignal</source>
        <translation>Send a signal to this process</translation>
    </message>
    <message>
        <source>SIGKILL</source>
        <translation>Kill now (SIGKILL)</translation>
    </message>
    <message>
        <source>SIGTERM</source>
        <translation>Ask to quit (SIGTERM)</translation>
    </message>
    <message>
        <source>Notification</source>
        <translation>Notification</translation>
    </message>
    <message>
        <source>ProcessTerminated</source>
        <translation>The signal was sent to the process.</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>Starting</translation>
    </message>
    <message>
        <source>run</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>sleep</source>
        <translation>Sleeping</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>zombie</source>
        <translation>Zombie</translation>
    </message>
    <message>
        <source>??????</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>BasicInfo</source>
        <translation>Memory Usage</translation>
    </message>
    <message>
        <source>PageInfo</source>
        <translation>Paging</translation>
    </message>
    <message>
        <source>DetailInfo</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>CacheInfo</source>
        <translation>Object Cache</translation>
    </message>
    <message>
        <source>PageIn</source>
        <translation>Page-ins</translation>
    </message>
    <message>
        <source>PageOut</source>
        <translation>Page-outs</translation>
    </message>
    <message>
        <source>Faults</source>
        <translation>Faults</translation>
    </message>
    <message>
        <source>CopyOnWrite</source>
        <translation>Copy-on-write</translation>
    </message>
    <message>
        <source>ZeroFilled</source>
        <translation>Zero-filled</translation>
    </message>
    <message>
        <source>Reactivated</source>
        <translation>Reactivated</translation>
    </message>
    <message>
        <source>Lookups</source>
        <translation>Lookups</translation>
    </message>
    <message>
        <source>Hits</source>
        <translation>Hits</translation>
    </message>
    <message>
        <source>HitRate</source>
        <translation>Hit rate</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation>Inactive</translation>
    </message>
    <message>
        <source>Wired</source>
        <translation>Wired</translation>
    </message>
    <message>
        <source>SystemArea</source>
        <translation>System</translation>
    </message>
    <message>
        <source>UserArea</source>
        <translation>User</translation>
    </message>
    <message>
        <source>MountedOn</source>
        <translation>Mounted on</translation>
    </message>
    <message>
        <source>FSType</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>MountOpts</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>TotalSize</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>UsedSize</source>
        <translation>Used</translation>
    </message>
    <message>
        <source>AvailableSize</source>
        <translation>Available</translation>
    </message>
    <message>
        <source>Capacity</source>
        <translation>Capacity</translation>
    </message>
    <message>
        <source>CountryCode</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>CountryName</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>RegistryName</source>
        <translation>Registry</translation>
    </message>
    <message>
        <source>CountryRegion</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>NetworkRange</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>AssignedDate</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>InterfaceInfo</source>
        <translation>Interfaces</translation>
    </message>
    <message>
        <source>VariousNetInfo</source>
        <translation>Routes and Sockets</translation>
    </message>
    <message>
        <source>RoutingInfo</source>
        <translation>Routing Table</translation>
    </message>
    <message>
        <source>TCPStatus</source>
        <translation>TCP Sockets</translation>
    </message>
    <message>
        <source>UDPStatus</source>
        <translation>UDP Sockets</translation>
    </message>
    <message>
        <source>InterfaceDetails</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>InterfaceName</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>InterfaceType</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>IPAddress</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Host Name</translation>
    </message>
    <message>
        <source>BcastAddr</source>
        <translation>Broadcast</translation>
    </message>
    <message>
        <source>DestAddr</source>
        <translation>Peer</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>Netmask</translation>
    </message>
    <message>
        <source>NetAddr</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>MTU</source>
        <translation>MTU</translation>
    </message>
    <message>
        <source>MACAddress</source>
        <translation>Link Address</translation>
    </message>
    <message>
        <source>InputPackets</source>
        <translation>Packets In</translation>
    </message>
    <message>
        <source>InputErrors</source>
        <translation>Errors In</translation>
    </message>
    <message>
        <source>OutputPackets</source>
        <translation>Packets Out</translation>
    </message>
    <message>
        <source>OutputErrors</source>
        <translation>Errors Out</translation>
    </message>
    <message>
        <source>Collisions</source>
        <translation>Collisions</translation>
    </message>
    <message>
        <source>PacketDrops</source>
        <translation>Drops</translation>
    </message>
    <message>
        <source>NetworkRouting</source>
        <translation>Routing Table</translation>
    </message>
    <message>
        <source>RoutingDetails</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>TCPInfo</source>
        <translation>TCP</translation>
    </message>
    <message>
        <source>UDPInfo</source>
        <translation>UDP</translation>
    </message>
    <message>
        <source>PeerInfo</source>
        <translation>Peer</translation>
    </message>
    <message>
        <source>DestPort</source>
        <translation>Peer Port</translation>
    </message>
    <message>
        <source>LocalPort</source>
        <translation>Local Port</translation>
    </message>
    <message>
        <source>PortInfo</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>RoutingHistory</source>
        <translation>History</translation>
    </message>
    <message>
        <source>DeleteAll</source>
        <translation>Delete All</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>DeleteAllHistory</source>
        <translation>Delete the whole lookup history?</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>EditComment</source>
        <translation>Edit Comment</translation>
    </message>
    <message>
        <source>BatterySerialNumber</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>BatteryModel</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>BatteryCapacity</source>
        <translation>Charge</translation>
    </message>
    <message>
        <source>BatteryIsCharging</source>
        <translation>%1% (charging)</translation>
    </message>
    <message>
        <source>BatteryFullyCharged</source>
        <translation>%1% (full)</translation>
    </message>
    <message>
        <source>BatteryNotCharging</source>
        <translation>%1% (on battery)</translation>
    </message>
    <message>
        <source>EtherAddress</source>
        <translation>MAC Address</translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation>Broadcast</translation>
    </message>
    <message>
        <source>IPv6Address</source>
        <translation>IPv6 Address</translation>
    </message>
    <message>
        <source>Apple80211SSID</source>
        <translation>Wi-Fi Network</translation>
    </message>
    <message>
        <source>Apple80211Channel</source>
        <translation>Wi-Fi Channel</translation>
    </message>
    <message>
        <source>FlashType</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>FlashBBTFormat</source>
        <translation>BBT Format</translation>
    </message>
    <message>
        <source>FlashDesc</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>FlashBanks</source>
        <translation>Banks</translation>
    </message>
    <message>
        <source>FlashBankOfBlocks</source>
        <translation>Blocks per Bank</translation>
    </message>
    <message>
        <source>FlashBlockPages</source>
        <translation>Pages per Block</translation>
    </message>
    <message>
        <source>FlashPageSectors</source>
        <translation>Sectors per Page</translation>
    </message>
    <message>
        <source>FlashPageBytes</source>
        <translation>Bytes per Page</translation>
    </message>
    <message>
        <source>DeviceName</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>DeviceModel</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>LocalizedModel</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>SystemName</source>
        <translation>System</translation>
    </message>
    <message>
        <source>SystemVersion</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>DeviceIMEI</source>
        <translation>IMEI</translation>
    </message>
    <message>
        <source>SerialNumber</source>
        <translation>Serial Number</translation>
    </message>
    <message>
        <source>ModelNumber</source>
        <translation>Model Number</translation>
    </message>
    <message>
        <source>PlatformCode</source>
        <translation>Board</translation>
    </message>
    <message>
        <source>PlatformName</source>
        <translation>Machine Class</translation>
    </message>
    <message>
        <source>PlatformString</source>
        <translation>Product</translation>
    </message>
    <message>
        <source>PlatformProcessor</source>
        <translation>Processor</translation>
    </message>
    <message>
        <source>KernelType</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>KernelRelease</source>
        <translation>Release</translation>
    </message>
    <message>
        <source>KernelRevision</source>
        <translation>Revision</translation>
    </message>
    <message>
        <source>KernelVersion</source>
        <translation>Build</translation>
    </message>
    <message>
        <source>BootTime</source>
        <translation>Booted</translation>
    </message>
    <message>
        <source>SleepTime</source>
        <translation>Last Sleep</translation>
    </message>
    <message>
        <source>WakeTime</source>
        <translation>Last Wake</translation>
    </message>
    <message>
        <source>Machine</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>NCPU</source>
        <translation>Processors</translation>
    </message>
    <message>
        <source>ByteOrder</source>
        <translation>Byte Order</translation>
    </message>
    <message>
        <source>PhysMem</source>
        <translation>Physical Memory</translation>
    </message>
    <message>
        <source>UserMem</source>
        <translation>User Memory</translation>
    </message>
    <message>
        <source>PageSize</source>
        <translation>Page Size</translation>
    </message>
    <message>
        <source>FloatingPoint</source>
        <translation>Floating Point</translation>
    </message>
    <message>
        <source>BusFreq</source>
        <translation>Bus Frequency</translation>
    </message>
    <message>
        <source>CPUFreq</source>
        <translation>CPU Frequency</translation>
    </message>
    <message>
        <source>Cache</source>
        <translation>Cache Line</translation>
    </message>
    <message>
        <source>L1ICache</source>
        <translation>L1 I-Cache</translation>
    </message>
    <message>
        <source>L1DCache</source>
        <translation>L1 D-Cache</translation>
    </message>
    <message>
        <source>NoLocationServices</source>
        <translation>Location services are off</translation>
    </message>
    <message>
        <source>LocationUnknown</source>
        <translation>Location unknown</translation>
    </message>
    <message>
        <source>LocationDenied</source>
        <translation>Location access denied</translation>
    </message>
    <message>
        <source>GenericLocationError</source>
        <translation>Location error</translation>
    </message>
    <message>
        <source>NoAccelerometer</source>
        <translation>No accelerometer</translation>
    </message>
    <message>
        <source>LatitudeUnavailable</source>
        <translation>Latitude unavailable</translation>
    </message>
    <message>
        <source>LongitudeUnavailable</source>
        <translation>Longitude unavailable</translation>
    </message>
    <message>
        <source>AltitudeUnavailable</source>
        <translation>Altitude unavailable</translation>
    </message>
    <message>
        <source>LatitudeFormat</source>
        <translation>%1 %2° %3′ %4″</translation>
    </message>
    <message>
        <source>LongitudeFormat</source>
        <translation>%1 %2° %3′ %4″</translation>
    </message>
    <message>
        <source>AltitudeFormat</source>
        <translation>%1 m %2</translation>
    </message>
    <message>
        <source>North</source>
        <translation>N</translation>
    </message>
    <message>
        <source>South</source>
        <translation>S</translation>
    </message>
    <message>
        <source>East</source>
        <translation>E</translation>
    </message>
    <message>
        <source>West</source>
        <translation>W</translation>
    </message>
    <message>
        <source>AboveSeaLevel</source>
        <translation>above sea level</translation>
    </message>
    <message>
        <source>BelowSeaLevel</source>
        <translation>below sea level</translation>
    </message>
    <message>
        <source>SaveLocation</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Here</source>
        <translation>Here</translation>
    </message>
    <message>
        <source>StandardMap</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>SatelliteMap</source>
        <translation>Satellite</translation>
    </message>
    <message>
        <source>HybridMap</source>
        <translation>Hybrid</translation>
    </message>
    <message>
        <source>NoMapImagery</source>
        <translation>Satellite and hybrid maps need a tile source (ORMEL_TILE_URL)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>LinkTo</source>
        <translation>Link to</translation>
    </message>
    <message>
        <source>MailTo</source>
        <translation>Mail to</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Credits</translation>
    </message>
    <message>
        <source>ChangeLog</source>
        <translation>Change log</translation>
    </message>
    <message>
        <source>KnownProblems</source>
        <translation>Known problems</translation>
    </message>
    <message>
        <source>FlagIconsBy</source>
        <translation>Flag icons by Linux Mint</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report a problem</translation>
    </message>
    <message>
        <source>AppShortInfo</source>
        <translation>A system-information utility: processes, memory, disks, network and the registries of addresses.</translation>
    </message>
    <message>
        <source>Unreachable</source>
        <translation>The network is unreachable.</translation>
    </message>
    <message>
        <source>UpdateRegistry</source>
        <translation>Update the registry file</translation>
    </message>
    <message>
        <source>Donate</source>
        <translation>Donate</translation>
    </message>
    <message>
        <source>DownloadConfirmation</source>
        <translation>Download the latest registry data from the regional Internet registries?</translation>
    </message>
    <message>
        <source>NowDownloading</source>
        <translation>Downloading registry data…</translation>
    </message>
    <message>
        <source>BackupFailed</source>
        <translation>The current registry file could not be backed up.</translation>
    </message>
    <message>
        <source>DownloadFailed</source>
        <translation>The registry data could not be downloaded.</translation>
    </message>
    <message>
        <source>UpdateFailed</source>
        <translation>The new registry file could not be installed.</translation>
    </message>
</context>
</TS>
