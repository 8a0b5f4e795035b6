#!/usr/bin/python3
"""The peer of the mail benchmark: Python's smtplib sends COUNT messages, each with the file as
an attachment, over one connection to 127.0.0.1:PORT, and prints the seconds it took."""
import smtplib
from email.policy import SMTP
import sys
import time
from email.mime.application import MIMEApplication
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText

port, count, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
started = time.perf_counter()
with open(path, "rb") as f:
    data = f.read()
with smtplib.SMTP("127.0.0.1", port) as client:
    for i in range(count):
        message = MIMEMultipart()
        message["From"] = "bench@here.test"
        message["To"] = "peer@there.test"
        message["Subject"] = "bench"
        message.attach(MIMEText("text", "plain", "windows-1251"))
        message.attach(MIMEApplication(data, Name="data.bin"))
        client.sendmail("bench@here.test", ["peer@there.test"], message.as_bytes(policy=SMTP))
print("%.6f" % (time.perf_counter() - started))
