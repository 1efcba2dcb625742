# An upgrade (the older version installed): from the click on CONTINUE,
# through the removal and the install, to "Installation Successful".
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
click 1001
expect-enabled 1000
poll-interval 2
mark continue
click 1000
wait-text 1014 "Installation Successful" 180
report upgrade continue
click 1015
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
