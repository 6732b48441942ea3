# The layers of the utility, bottom to top. Each is one folder and one static library that
# links only the layers below it; a layer may include any layer listed before it, never one
# listed after it. Layers joined by "|" stand side by side and never include each other.
#
# Every folder that holds sources belongs to exactly one layer: the layer check refuses a
# folder missing here, so a new folder cannot silently stay out of the build.
set(RIZORIVU_LAYERS
    platform
    crypto
    adapter
    settings
    sim|dot1x
    wpa
    ui
    ui/wpa
    ui/station
    ui/ap
    ui/main
    app
    qt)

# The front end: the only layer that includes Qt. Built only with RIZORIVU_GUI.
set(RIZORIVU_FRONT_END_LAYER qt)
