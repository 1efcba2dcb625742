# The host's own folder is offered exactly as the host key holds it (no
# backslash added), and from the 32-bit view of the registry only.
# A 32-bit prefix has one view, where set-reg64 writes the same key.
#! arch: win64
set-reg ${HOST_KEY} Installdir "C:\Autodesk Host\Max 2013"
set-reg64 ${HOST_KEY} Installdir "C:\Wrong View"
launch ${INSTALLER}
wait-window ${TITLE}
expect-text FOLDER "C:\Autodesk Host\Max 2013"
key escape
expect-process-exit any
