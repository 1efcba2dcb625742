# The second reference of an upgrade: the service's own front end removes
# the older version, then installs the package, both silent.
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
mark start
run 180 msiexec /x ${OLDER} /qn
run 180 msiexec /i ${PACKAGE} /qn
report upgrade start
expect-reg ${PRODUCT_KEY} Version ${VERSION}
