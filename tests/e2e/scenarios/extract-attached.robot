# A copy that carries its package attached after the image, as a build does
# for one above the resource limit: /extract writes it byte for byte (and
# not the signature after it), and a quiet install from it on a fresh
# machine installs it.
#! installer: attached current.msi
launch ${INSTALLER} -- /extract C:\Deploy /log C:\extract.log
wait-exit-unseen 0 120
expect-same-file "C:\Deploy\${PACKAGE_FILE}" ${PACKAGES}\current.msi
expect-file-contains C:\extract.log "Exit code 0"
expect-no-reg ${UNINSTALL_KEY}
expect-temp-unchanged
launch ${INSTALLER} -- /quiet /log C:\install.log
wait-exit-unseen 0 180
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file-contains C:\install.log "Found: not installed" "Installing the package: result 0" "Exit code 0"
expect-temp-unchanged
