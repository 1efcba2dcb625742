# /extract writes the package the installer carries, byte for byte, to a
# folder it makes, whatever is installed, and shows no window; a folder
# that cannot be made ends with 82 and leaves nothing.
launch ${INSTALLER} -- /extract "C:\Deploy Share\Zephra" /log C:\extract.log
wait-exit-unseen 0 120
expect-same-file "C:\Deploy Share\Zephra\${PACKAGE_FILE}" ${EMBEDDED}
expect-file-contains C:\extract.log "extract" "The package is written to C:\Deploy Share\Zephra\${PACKAGE_FILE}" "Exit code 0"
expect-no-reg ${UNINSTALL_KEY}
expect-temp-unchanged
copy ${EMBEDDED} C:\Blocked
launch ${INSTALLER} -- /quiet /extract C:\Blocked\Zephra /log C:\blocked.log
wait-exit-unseen 82 120
expect-no-file C:\Blocked\Zephra
expect-file-contains C:\blocked.log "Extraction failed: The installation package could not be written to that folder (error " "Exit code 82"
expect-temp-unchanged
