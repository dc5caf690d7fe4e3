#!/usr/bin/env bash
# Writes fleet-test.json: 50 devices of every family for the fleet lab test
# (tests/lab/fleet_lab_test.cc), made from the demo's devices (demo.json):
# each template device is repeated with its own MAC, address, serial and
# name, and hands out a configuration consistent with them (fleet/<MAC>.block
# and .cfg, written by make_demo_blocks.sh from the configurator's own block
# code in BUILD, default build/). Video servers take the web login
# admin/kavex1.
# Usage: scripts/lab/make_fleet_scenario.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")"

jq '
  def hex2: "0123456789ABCDEF" as $d | (. / 16 | floor) as $h | $d[$h:$h + 1] + $d[. % 16:. % 16 + 1];
  # The templates: D8, R8, A8, M26, long-reply switch, video server, a D8 of
  # segment 1 and a video server of segment 1 (demo.json rows 1, 2, 4-7, 10, 12).
  [.devices[0], .devices[1], .devices[3], .devices[4], .devices[5], .devices[6],
   .devices[9], .devices[11]] as $templates
  | {devices: [range(1; 51) as $i
      | ($templates[($i - 1) % ($templates | length)]) as $t
      | $t
      | .mac = ("02:56:F1:00:00:" + ($i | hex2))
      | .serialNo = 1000 + $i
      | .name = ("Fleet " + ($i | tostring))
      | .ip = (if $t.segment == 1 then "192.168.20." else "192.168.10." end
               + ((100 + $i) | tostring))
      | ("fleet/" + (.mac | gsub(":"; ""))) as $file
      | if has("configBlock") then .configBlock.file = $file + ".block" else . end
      | if (.configFile | type) == "object" then .configFile.file = $file + ".cfg" else . end
      | .ip as $ip
      | if (.configFile | type) == "string" then
          .configFile |= (sub("Name=[^\r]*"; "Name=Fleet \($i)")
                          | sub("IPAddress=[^\r]*"; "IPAddress=\($ip)"))
        else . end
      | if has("webPort") then .kavexUser = "admin" | .kavexPassword = "kavex1" else . end
    ]}
' demo.json > fleet-test.json
echo "fleet-test.json: $(jq '.devices | length' fleet-test.json) devices"
mkdir -p fleet
VANTRELL_BLOCK_SCENARIO=fleet-test.json bash make_demo_blocks.sh "${1:-}"
