# The second reference of a fresh install: the service's own front end,
# silent, with the same package; it pays for a process start of its own.
mark start
run 180 msiexec /i ${PACKAGE} /qn
report install start
expect-reg ${PRODUCT_KEY} Version ${VERSION}
