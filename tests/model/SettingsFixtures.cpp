// The written bytes are what the program made of each file when the fixtures
// were taken: they are the reference, never to be regenerated from the code
// under test.
#include "SettingsFixtures.h"

namespace cadrels::testing {
namespace {

constexpr SettingsFixture Fixtures[] = {
    {"layout-startup",
     R"json({"grid":24,"language":1,"workspaces":[{"id":"{P}","name":"Mine"}]})json",
     R"json({
  "version": 2,
  "language": 1,
  "theme": 0,
  "snap": 1,
  "grid": 24,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "Mine",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"containers-claimed",
     R"json({"containersClaimed":1,"workspaces":[{"id":"{P}","name":"Vide"}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 1,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "Vide",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"policy-startup",
     R"json({"containersClaimed":1,"theme":2,"workspaces":[{"id":"{P}","cadrels":[
    {"id":"{MINE-1}","tabs":[{"title":"a","folder":"C:\\users"}]},
    {"id":"{MINE-2}","tabs":[{"title":"b","folder":"C:\\users"}]}]}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 2,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 1,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{MINE-1}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "a",
              "folder": "C:\\users"
            }
          ]
        },
        {
          "id": "{MINE-2}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "b",
              "folder": "C:\\users"
            }
          ]
        }
      ],
      "layouts": {}
    }
  ]
}
)json"},
    {"first-run-language",
     R"json({"language":2,"workspaces":[{"id":"{A}","name":"A"}]})json",
     R"json({
  "version": 2,
  "language": 2,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{A}",
      "name": "A",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"container-tabs",
     R"json({"workspaces":[{"id":"{P}","cadrels":[{"id":"{C}","tabs":[{"title":"Projets","folder":"C:\\Users\\root\\Cadrels\\Projets"},{"title":"x","folder":"C:\\Users\\root\\Documents\\x"}]}]}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "Projets",
              "folder": "C:\\Users\\root\\Cadrels\\Projets"
            },
            {
              "title": "x",
              "folder": "C:\\Users\\root\\Documents\\x"
            }
          ]
        }
      ],
      "layouts": {}
    }
  ]
}
)json"},
    {"empty-object",
     R"json({})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{NEW}",
      "name": "{NEW}",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"no-pages",
     R"json({"workspaces":[],"activeWorkspace":3,"grid":8})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 8,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{NEW}",
      "name": "{NEW}",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"single-page-form",
     R"json({"activeWorkspace":2,"theme":1,"cadrels":[{"id":"{C}","title":"Vieux","folder":"C:\\v","expandUp":true,"opacity":0.4},
 {"id":"{D}","expandUp":false,"sortBy":2}],"layouts":{"k":{"{C}":{"x":0.3,"rolled":1},"{D}":{"w":0.5}}}})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 1,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{NEW}",
      "name": "{NEW}",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.4,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 1,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "Vieux",
              "folder": "C:\\v"
            }
          ]
        },
        {
          "id": "{D}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 2,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "",
              "folder": ""
            }
          ]
        }
      ],
      "layouts": {
        "k": {
          "{C}": {
            "monitor": "",
            "x": 0.3,
            "y": 0.1,
            "w": 0.25,
            "h": 0.4,
            "rolled": 1
          },
          "{D}": {
            "monitor": "",
            "x": 0.1,
            "y": 0.1,
            "w": 0.5,
            "h": 0.4,
            "rolled": 0
          }
        }
      }
    }
  ]
}
)json"},
    {"pages-win-over-single-page-form",
     R"json({"workspaces":[{"id":"{P}","name":"A"}],"cadrels":[{"id":"x","tabs":[{}]}],"layouts":{"k":{"x":{}}}})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "A",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"booleans-where-the-rules-take-them",
     R"json({"snap":false,"dblClickHide":false,"showDock":true,"containersClaimed":true,"backupEnabled":true,"backupCloud":true,
 "snapApps":[{"exe":"a.exe","anchored":true}],
 "workspaces":[{"id":"{P}","layoutLocked":true,"cadrels":[{"id":"{C}","pinned":true,"locked":true,
 "sortDesc":true,"rule":{"enabled":true},"tabs":[{"title":"t","titleAuto":true}]}],
 "layouts":{"k":{"{C}":{"rolled":true}}}}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 0,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 0,
  "showDock": 1,
  "containersClaimed": 1,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 1,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 1,
  "snapApps": [
    {
      "exe": "a.exe",
      "layout": 0,
      "region": 0,
      "anchored": 0
    }
  ],
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 1,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "t",
              "folder": ""
            }
          ]
        }
      ],
      "layouts": {
        "k": {
          "{C}": {
            "monitor": "",
            "x": 0.1,
            "y": 0.1,
            "w": 0.25,
            "h": 0.4,
            "rolled": 0
          }
        }
      }
    }
  ]
}
)json"},
    {"numbers-as-flags",
     R"json({"snap":0,"dblClickHide":0.5,"showDock":-2,"backupEnabled":1e300,"backupCloud":"yes",
 "workspaces":[{"id":"{P}","layoutLocked":2,"cadrels":[{"id":"{C}","pinned":2,"locked":-1,"sortDesc":0.5,
 "rule":{"enabled":3},"tabs":[{"titleAuto":7}]}],"layouts":{"k":{"{C}":{"rolled":-1}}}}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 0,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 1,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 1,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 1,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 1,
          "locked": 1,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 1,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 1,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "",
              "folder": "",
              "titleAuto": 1
            }
          ]
        }
      ],
      "layouts": {
        "k": {
          "{C}": {
            "monitor": "",
            "x": 0.1,
            "y": 0.1,
            "w": 0.25,
            "h": 0.4,
            "rolled": 1
          }
        }
      }
    }
  ]
}
)json"},
    {"out-of-range-and-wrong-types",
     R"json({"version":7,"language":40,"theme":7,"grid":-5,"accent":-1,"cadrelBg":4294967297,"activeWorkspace":1.9,
 "backupKeep":500,"backupFreq":3,"backupLast":"x","backupFolder":5,
 "workspaces":[{"id":"{P}","cadrels":[
  {"id":"{A}","sortBy":4,"viewMode":-1,"density":[0.1,5],"opacity":"x","active":5,"classifyMode":9,"expandDir":5,
   "tint":-2,"caccent":1e12,"tabs":[{"title":"a"},{"title":"b"}]},
  {"id":"{B}","sortBy":3.7,"viewMode":2.2,"density":[1.5,"x",0.7,9],"active":1,"expandDir":"x","expandUp":true,
   "tabs":[{},{}]},
  {"id":"{C}","active":-1,"expandDir":2,"expandUp":true,"opacity":1.5,"tabs":[{},{}]}]},{"id":"{Q}"}]})json",
     R"json({
  "version": 2,
  "language": 40,
  "theme": 7,
  "snap": 1,
  "grid": 0,
  "accent": 4294967295,
  "cadrelBg": 1,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 1,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 100,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{A}",
          "opacity": 0.62,
          "tint": 4294967294,
          "caccent": 3567587328,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 9,
          "expandDir": 5,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            0.6,
            2,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "a",
              "folder": ""
            },
            {
              "title": "b",
              "folder": ""
            }
          ]
        },
        {
          "id": "{B}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 1,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 3,
          "sortDesc": 0,
          "viewMode": 2,
          "density": [
            1.5,
            1,
            0.7
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "",
              "folder": ""
            },
            {
              "title": "",
              "folder": ""
            }
          ]
        },
        {
          "id": "{C}",
          "opacity": 1.5,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 2,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "",
              "folder": ""
            },
            {
              "title": "",
              "folder": ""
            }
          ]
        }
      ],
      "layouts": {}
    },
    {
      "id": "{Q}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"clamps-at-the-other-end",
     R"json({"grid":1e300,"backupKeep":-1e300,"backupFreq":-1,"language":-3,"theme":-1,"activeWorkspace":-1,"backupLast":-5.5,
 "workspaces":[{"id":"{P}"},{"id":"{Q}"}]})json",
     R"json({
  "version": 2,
  "language": -3,
  "theme": -1,
  "snap": 1,
  "grid": 2147483647,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 1,
  "backupLast": -5.5,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    },
    {
      "id": "{Q}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
    {"strings-where-numbers-belong",
     R"json({"language":"1","theme":"2","grid":"4","accent":"red","backupKeep":"7","backupFreq":"2","snap":"0",
 "workspaces":[{"id":"{P}","cadrels":[{"id":"{C}","opacity":"0.3","sortBy":"1","viewMode":"1","classifyMode":"1",
 "expandDir":"1","tint":"1","active":"1","tabs":[{},{}]}]}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "",
              "folder": ""
            },
            {
              "title": "",
              "folder": ""
            }
          ]
        }
      ],
      "layouts": {}
    }
  ]
}
)json"},
    {"lists-skip-what-they-cannot-use",
     R"json({"dock":["a","",3,null,"b"],"watchFolders":"x",
 "dockIcons":{"a":"svg:x","":"svg:y","b":"","c":4,"a":"svg:z"},
 "hotkeys":[{"a":1,"m":2,"v":90},{"m":1},5,{"a":1,"v":89},{"a":3}],
 "snapApps":[{"exe":""},{"layout":1},{"exe":"x.exe","layout":2.5,"region":"r"}],
 "recentDisplays":["k1","",4,"k2"],
 "workspaces":[{"id":"{P}","cadrels":[{"id":"{C}","tabs":[{"pinned":["a",1,"","b"]}]}]}, 3]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [
    "a",
    "b"
  ],
  "dockIcons": {
    "a": "svg:z"
  },
  "activeWorkspace": 0,
  "hotkeys": [
    {
      "a": 1,
      "m": 0,
      "v": 89
    },
    {
      "a": 3,
      "m": 0,
      "v": 0
    }
  ],
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "snapApps": [
    {
      "exe": "x.exe",
      "layout": 2,
      "region": 0,
      "anchored": 0
    }
  ],
  "recentDisplays": [
    "k1",
    "k2"
  ],
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "",
              "folder": "",
              "pinned": [
                "a",
                "b"
              ]
            }
          ]
        }
      ],
      "layouts": {}
    }
  ]
}
)json"},
    {"records-dropped",
     R"json({"workspaces":[{"id":"{P}","cadrels":[
 {"id":"","tabs":[{}]}, {"tabs":[{}]}, {"id":5,"tabs":[{}]}, {"id":"{NOTABS}","tabs":[1,"x",null]},
 {"id":"{EMPTY}","tabs":[]}, {"id":"{OK}","tabs":[{"title":"t"}]}, 7, "x"],
 "layouts":{"key":{"{NOTABS}":{"x":0.5},"{OK}":{},"bad":3},"other":4}}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{OK}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "t",
              "folder": ""
            }
          ]
        }
      ],
      "layouts": {
        "key": {
          "{NOTABS}": {
            "monitor": "",
            "x": 0.5,
            "y": 0.1,
            "w": 0.25,
            "h": 0.4,
            "rolled": 0
          },
          "{OK}": {
            "monitor": "",
            "x": 0.1,
            "y": 0.1,
            "w": 0.25,
            "h": 0.4,
            "rolled": 0
          }
        }
      }
    }
  ]
}
)json"},
    {"rule-forms",
     R"json({"workspaces":[{"id":"{P}","cadrels":[{"id":"{C}","tabs":[{}],"rule":{"enabled":1,"exts":5,"name":"n*","olderDays":-3,
 "link":2,"priority":-7,"groups":[[{"k":1,"op":1,"t":"*.pdf"},3,{"k":2,"n":12.9}],"x",[],[{"k":3,"n":-2},{"k":4,"n":4000000000}]]}},
 {"id":"{D}","tabs":[{}],"rule":[1]}]}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 1,
            "exts": "",
            "name": "n*",
            "olderDays": 0,
            "link": 2,
            "priority": -7,
            "groups": [
              [
                {
                  "k": 1,
                  "op": 1,
                  "t": "*.pdf"
                },
                {
                  "k": 2,
                  "n": 12
                }
              ],
              [],
              [
                {
                  "k": 3,
                  "n": -2
                },
                {
                  "k": 4,
                  "n": 4000000000
                }
              ]
            ]
          },
          "tabs": [
            {
              "title": "",
              "folder": ""
            }
          ]
        },
        {
          "id": "{D}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "",
              "folder": ""
            }
          ]
        }
      ],
      "layouts": {}
    }
  ]
}
)json"},
    {"unknown-members",
     R"json({"futureOption":1,"workspaces":[{"id":"{P}","extra":[1],"cadrels":[{"id":"{C}",
 "tabs":[{"title":"t","colour":"red","emblem":"svg:star","hostedExe":"e.exe","hostedAumid":"A!b","hostedTitle":"T"}],
 "mystery":true}]}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{C}",
          "opacity": 0.62,
          "tint": 0,
          "caccent": 0,
          "active": 0,
          "pinned": 0,
          "locked": 0,
          "classifyMode": 0,
          "expandDir": 0,
          "sortBy": 0,
          "sortDesc": 0,
          "viewMode": 0,
          "density": [
            1,
            1,
            1
          ],
          "rule": {
            "enabled": 0,
            "exts": "",
            "name": "",
            "olderDays": 0,
            "link": 0
          },
          "tabs": [
            {
              "title": "t",
              "folder": "",
              "emblem": "svg:star",
              "hostedExe": "e.exe",
              "hostedAumid": "A!b",
              "hostedTitle": "T"
            }
          ]
        }
      ],
      "layouts": {}
    }
  ]
}
)json"},
    {"many-recent-displays",
     R"json({"recentDisplays":["d1","d2","d3","d4","d5","d6","d7","d8","d9","d10","d11","d12","d13","d14","d15","d16","d17","d18"],
 "workspaces":[{"id":"{P}"}]})json",
     R"json({
  "version": 2,
  "language": 0,
  "theme": 0,
  "snap": 1,
  "grid": 0,
  "accent": 0,
  "cadrelBg": 0,
  "dblClickHide": 1,
  "showDock": 0,
  "containersClaimed": 0,
  "dock": [],
  "activeWorkspace": 0,
  "backupEnabled": 0,
  "backupFreq": 1,
  "backupKeep": 10,
  "backupLast": 0,
  "backupCloud": 0,
  "recentDisplays": [
    "d1",
    "d2",
    "d3",
    "d4",
    "d5",
    "d6",
    "d7",
    "d8",
    "d9",
    "d10",
    "d11",
    "d12",
    "d13",
    "d14",
    "d15",
    "d16"
  ],
  "workspaces": [
    {
      "id": "{P}",
      "name": "",
      "layoutLocked": 0,
      "cadrels": [],
      "layouts": {}
    }
  ]
}
)json"},
};

constexpr std::string_view FullyPopulated = R"json({
  "version": 2,
  "language": 11,
  "theme": 2,
  "snap": 0,
  "grid": 16,
  "accent": 2629320,
  "cadrelBg": 16777215,
  "dblClickHide": 0,
  "showDock": 1,
  "containersClaimed": 1,
  "dock": [
    "C:\\Program Files\\Éditeur\\edit.exe",
    "D:\\Données 😀"
  ],
  "dockIcons": {
    "C:\\x.exe": "C:\\icônes\\x.png",
    "D:\\Données 😀": "svg:folder"
  },
  "activeWorkspace": 1,
  "watchFolders": [
    "C:\\Users\\été\\Downloads",
    "E:\\媒体"
  ],
  "hotkeys": [
    {
      "a": 0,
      "m": 3,
      "v": 90
    },
    {
      "a": 9,
      "m": 8,
      "v": 120
    }
  ],
  "backupEnabled": 1,
  "backupFolder": "\\\\serveur\\sauvegardes\\ユーザー",
  "backupFreq": 2,
  "backupKeep": 42,
  "backupLast": 1765432109,
  "backupCloud": 1,
  "snapApps": [
    {
      "exe": "code.exe",
      "layout": 1,
      "region": 2,
      "anchored": 1
    },
    {
      "exe": "navigateur.exe",
      "layout": 0,
      "region": 3,
      "anchored": 0
    }
  ],
  "recentDisplays": [
    "\\\\?\\DISPLAY#B|1920x1040@144",
    "\\\\?\\DISPLAY#A|1280x760@96"
  ],
  "workspaces": [
    {
      "id": "{PAGE-0}",
      "name": "Page « 0 » 𝄞",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{CADREL-0-0}",
          "opacity": 0.85,
          "tint": 197121,
          "caccent": 33018,
          "active": 1,
          "pinned": 1,
          "locked": 1,
          "classifyMode": 2,
          "expandDir": 3,
          "sortBy": 2,
          "sortDesc": 1,
          "viewMode": 1,
          "density": [
            0.6,
            1.25,
            2
          ],
          "rule": {
            "enabled": 1,
            "exts": "png jpg;webp",
            "name": "facture*",
            "olderDays": 30,
            "link": 3,
            "priority": -4,
            "groups": [
              [
                {
                  "k": 0,
                  "t": "pdf"
                },
                {
                  "k": 2,
                  "op": 1,
                  "n": 12
                }
              ],
              [
                {
                  "k": 3,
                  "n": 4000000000
                }
              ]
            ]
          },
          "tabs": [
            {
              "title": "Travail 🗂",
              "folder": "C:\\Users\\x\\Cadrels\\Travail",
              "pinned": [
                "a.txt",
                "é.doc"
              ],
              "emblem": "svg:star",
              "titleAuto": 1
            },
            {
              "title": "Éditeur",
              "folder": "",
              "hostedExe": "C:\\Apps\\édit.exe",
              "hostedAumid": "Vendor.App_123!Main",
              "hostedTitle": "Sans titre – Éditeur"
            }
          ]
        },
        {
          "id": "{CADREL-0-1}",
          "opacity": 0.85,
          "tint": 197121,
          "caccent": 33018,
          "active": 1,
          "pinned": 1,
          "locked": 1,
          "classifyMode": 2,
          "expandDir": 3,
          "sortBy": 2,
          "sortDesc": 1,
          "viewMode": 1,
          "density": [
            0.6,
            1.25,
            2
          ],
          "rule": {
            "enabled": 1,
            "exts": "png jpg;webp",
            "name": "facture*",
            "olderDays": 30,
            "link": 3,
            "priority": -4,
            "groups": [
              [
                {
                  "k": 0,
                  "t": "pdf"
                },
                {
                  "k": 2,
                  "op": 1,
                  "n": 12
                }
              ],
              [
                {
                  "k": 3,
                  "n": 4000000000
                }
              ]
            ]
          },
          "tabs": [
            {
              "title": "Travail 🗂",
              "folder": "C:\\Users\\x\\Cadrels\\Travail",
              "pinned": [
                "a.txt",
                "é.doc"
              ],
              "emblem": "svg:star",
              "titleAuto": 1
            },
            {
              "title": "Éditeur",
              "folder": "",
              "hostedExe": "C:\\Apps\\édit.exe",
              "hostedAumid": "Vendor.App_123!Main",
              "hostedTitle": "Sans titre – Éditeur"
            }
          ]
        }
      ],
      "layouts": {
        "B|1280x760@144": {
          "{CADREL-0-0}": {
            "monitor": "B",
            "x": 0.5,
            "y": 0.25,
            "w": 0.125,
            "h": 0.75,
            "rolled": 0
          },
          "{CADREL-0-1}": {
            "monitor": "B",
            "x": 0.5,
            "y": 0.25,
            "w": 0.125,
            "h": 0.75,
            "rolled": 0
          }
        },
        "\\\\?\\DISPLAY#A|1920x1040@96": {
          "{CADREL-0-0}": {
            "monitor": "\\\\?\\DISPLAY#A",
            "x": 0.04,
            "y": 0.06,
            "w": 0.28,
            "h": 0.52,
            "rolled": 1
          },
          "{CADREL-0-1}": {
            "monitor": "\\\\?\\DISPLAY#A",
            "x": 0.04,
            "y": 0.06,
            "w": 0.28,
            "h": 0.52,
            "rolled": 1
          }
        }
      }
    },
    {
      "id": "{PAGE-1}",
      "name": "Page « 1 » 𝄞",
      "layoutLocked": 0,
      "cadrels": [
        {
          "id": "{CADREL-1-0}",
          "opacity": 0.85,
          "tint": 197121,
          "caccent": 33018,
          "active": 1,
          "pinned": 1,
          "locked": 1,
          "classifyMode": 2,
          "expandDir": 3,
          "sortBy": 2,
          "sortDesc": 1,
          "viewMode": 1,
          "density": [
            0.6,
            1.25,
            2
          ],
          "rule": {
            "enabled": 1,
            "exts": "png jpg;webp",
            "name": "facture*",
            "olderDays": 30,
            "link": 3,
            "priority": -4,
            "groups": [
              [
                {
                  "k": 0,
                  "t": "pdf"
                },
                {
                  "k": 2,
                  "op": 1,
                  "n": 12
                }
              ],
              [
                {
                  "k": 3,
                  "n": 4000000000
                }
              ]
            ]
          },
          "tabs": [
            {
              "title": "Travail 🗂",
              "folder": "C:\\Users\\x\\Cadrels\\Travail",
              "pinned": [
                "a.txt",
                "é.doc"
              ],
              "emblem": "svg:star",
              "titleAuto": 1
            },
            {
              "title": "Éditeur",
              "folder": "",
              "hostedExe": "C:\\Apps\\édit.exe",
              "hostedAumid": "Vendor.App_123!Main",
              "hostedTitle": "Sans titre – Éditeur"
            }
          ]
        },
        {
          "id": "{CADREL-1-1}",
          "opacity": 0.85,
          "tint": 197121,
          "caccent": 33018,
          "active": 1,
          "pinned": 1,
          "locked": 1,
          "classifyMode": 2,
          "expandDir": 3,
          "sortBy": 2,
          "sortDesc": 1,
          "viewMode": 1,
          "density": [
            0.6,
            1.25,
            2
          ],
          "rule": {
            "enabled": 1,
            "exts": "png jpg;webp",
            "name": "facture*",
            "olderDays": 30,
            "link": 3,
            "priority": -4,
            "groups": [
              [
                {
                  "k": 0,
                  "t": "pdf"
                },
                {
                  "k": 2,
                  "op": 1,
                  "n": 12
                }
              ],
              [
                {
                  "k": 3,
                  "n": 4000000000
                }
              ]
            ]
          },
          "tabs": [
            {
              "title": "Travail 🗂",
              "folder": "C:\\Users\\x\\Cadrels\\Travail",
              "pinned": [
                "a.txt",
                "é.doc"
              ],
              "emblem": "svg:star",
              "titleAuto": 1
            },
            {
              "title": "Éditeur",
              "folder": "",
              "hostedExe": "C:\\Apps\\édit.exe",
              "hostedAumid": "Vendor.App_123!Main",
              "hostedTitle": "Sans titre – Éditeur"
            }
          ]
        }
      ],
      "layouts": {
        "B|1280x760@144": {
          "{CADREL-1-0}": {
            "monitor": "B",
            "x": 0.5,
            "y": 0.25,
            "w": 0.125,
            "h": 0.75,
            "rolled": 0
          },
          "{CADREL-1-1}": {
            "monitor": "B",
            "x": 0.5,
            "y": 0.25,
            "w": 0.125,
            "h": 0.75,
            "rolled": 0
          }
        },
        "\\\\?\\DISPLAY#A|1920x1040@96": {
          "{CADREL-1-0}": {
            "monitor": "\\\\?\\DISPLAY#A",
            "x": 0.04,
            "y": 0.06,
            "w": 0.28,
            "h": 0.52,
            "rolled": 1
          },
          "{CADREL-1-1}": {
            "monitor": "\\\\?\\DISPLAY#A",
            "x": 0.04,
            "y": 0.06,
            "w": 0.28,
            "h": 0.52,
            "rolled": 1
          }
        }
      }
    },
    {
      "id": "{PAGE-2}",
      "name": "Page « 2 » 𝄞",
      "layoutLocked": 1,
      "cadrels": [
        {
          "id": "{CADREL-2-0}",
          "opacity": 0.85,
          "tint": 197121,
          "caccent": 33018,
          "active": 1,
          "pinned": 1,
          "locked": 1,
          "classifyMode": 2,
          "expandDir": 3,
          "sortBy": 2,
          "sortDesc": 1,
          "viewMode": 1,
          "density": [
            0.6,
            1.25,
            2
          ],
          "rule": {
            "enabled": 1,
            "exts": "png jpg;webp",
            "name": "facture*",
            "olderDays": 30,
            "link": 3,
            "priority": -4,
            "groups": [
              [
                {
                  "k": 0,
                  "t": "pdf"
                },
                {
                  "k": 2,
                  "op": 1,
                  "n": 12
                }
              ],
              [
                {
                  "k": 3,
                  "n": 4000000000
                }
              ]
            ]
          },
          "tabs": [
            {
              "title": "Travail 🗂",
              "folder": "C:\\Users\\x\\Cadrels\\Travail",
              "pinned": [
                "a.txt",
                "é.doc"
              ],
              "emblem": "svg:star",
              "titleAuto": 1
            },
            {
              "title": "Éditeur",
              "folder": "",
              "hostedExe": "C:\\Apps\\édit.exe",
              "hostedAumid": "Vendor.App_123!Main",
              "hostedTitle": "Sans titre – Éditeur"
            }
          ]
        },
        {
          "id": "{CADREL-2-1}",
          "opacity": 0.85,
          "tint": 197121,
          "caccent": 33018,
          "active": 1,
          "pinned": 1,
          "locked": 1,
          "classifyMode": 2,
          "expandDir": 3,
          "sortBy": 2,
          "sortDesc": 1,
          "viewMode": 1,
          "density": [
            0.6,
            1.25,
            2
          ],
          "rule": {
            "enabled": 1,
            "exts": "png jpg;webp",
            "name": "facture*",
            "olderDays": 30,
            "link": 3,
            "priority": -4,
            "groups": [
              [
                {
                  "k": 0,
                  "t": "pdf"
                },
                {
                  "k": 2,
                  "op": 1,
                  "n": 12
                }
              ],
              [
                {
                  "k": 3,
                  "n": 4000000000
                }
              ]
            ]
          },
          "tabs": [
            {
              "title": "Travail 🗂",
              "folder": "C:\\Users\\x\\Cadrels\\Travail",
              "pinned": [
                "a.txt",
                "é.doc"
              ],
              "emblem": "svg:star",
              "titleAuto": 1
            },
            {
              "title": "Éditeur",
              "folder": "",
              "hostedExe": "C:\\Apps\\édit.exe",
              "hostedAumid": "Vendor.App_123!Main",
              "hostedTitle": "Sans titre – Éditeur"
            }
          ]
        }
      ],
      "layouts": {
        "B|1280x760@144": {
          "{CADREL-2-0}": {
            "monitor": "B",
            "x": 0.5,
            "y": 0.25,
            "w": 0.125,
            "h": 0.75,
            "rolled": 0
          },
          "{CADREL-2-1}": {
            "monitor": "B",
            "x": 0.5,
            "y": 0.25,
            "w": 0.125,
            "h": 0.75,
            "rolled": 0
          }
        },
        "\\\\?\\DISPLAY#A|1920x1040@96": {
          "{CADREL-2-0}": {
            "monitor": "\\\\?\\DISPLAY#A",
            "x": 0.04,
            "y": 0.06,
            "w": 0.28,
            "h": 0.52,
            "rolled": 1
          },
          "{CADREL-2-1}": {
            "monitor": "\\\\?\\DISPLAY#A",
            "x": 0.04,
            "y": 0.06,
            "w": 0.28,
            "h": 0.52,
            "rolled": 1
          }
        }
      }
    }
  ]
}
)json";

}  // namespace

std::span<const SettingsFixture> SettingsFixtures()
{
    return Fixtures;
}

std::string_view FullyPopulatedFile()
{
    return FullyPopulated;
}

}  // namespace cadrels::testing
