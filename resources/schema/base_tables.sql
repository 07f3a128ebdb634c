CREATE TABLE RV1 (
  RV10 Text(4),
  RV11 Text(10),
  RV12 Text(20)
);

CREATE TABLE RV11 (
  RV110 Text(10),
  RV111 Text(10),
  RV112 Text(10),
  RV113 Text(50),
  RV114 Text(20),
  RV115 Text(10),
  RV116 Text(50),
  RV117 Text(10),
  RV118 Text(10),
  RV119 Text(15),
  RV1110 Text(15),
  RV1111 Text(50),
  RV1112 Text(50),
  RV1113 Text(30),
  RV1114 Text(30),
  RV1115 Text(8),
  RV1116 Text(50),
  RV1117 Text(50),
  RV1118 Memo
);

CREATE TABLE RV12 (
  RV120 Text(14),
  RV121 Text(10),
  RV122 Text(50),
  RV123 Text(30),
  RV124 Text(30),
  RV125 Text(10),
  RV126 Text(20),
  RV127 Text(10),
  RV128 Text(50),
  RV129 Text(50),
  RV1210 Text(10),
  RV1211 Text(10),
  RV1212 Text(10),
  RV1213 Memo,
  RV1214 Text(3),
  RV1217 Text(50),
  隨貨附發票 Integer
);

CREATE UNIQUE INDEX RV12IDX ON RV12 (RV120);

CREATE TABLE RV12A (
  RV12A0 Text(14),
  RV12A1 Text(16),
  RV12A2 Text(10),
  RV12A3 Text(10),
  RV12A4 Text(10),
  RV12A5 Text(12),
  RV12A6 Text(50),
  RV12A7 Text(255)
);

CREATE TABLE RV12B (
  RV12B0 Text(14),
  RV12B1 Text(25),
  RV12B2 Text(10),
  RV12B3 Text(15),
  RV12B4 Text(15),
  RV12B5 Text(50),
  RV12B6 Text(20)
);

CREATE TABLE RV17 (
  RV170 Text(4),
  RV171 Text(10)
);

CREATE TABLE RV17A (
  RV17A0 Text(14),
  RV17A1 Text(10),
  RV17A2 Text(10),
  RV17A3 Text(40),
  RV17A4 Text(10),
  RV17A5 Text(50),
  RV17A6 Text(14),
  RV17A7 Text(20),
  RV17A8 Text(10),
  RV17A9 Text(30),
  RV17A10 Text(30),
  RV17A11 Text(30),
  RV17A12 Text(10),
  RV17A13 Text(10),
  RV17A14 Text(50),
  RV17A15 Text(255),
  RV17A16 Text(255),
  RV17A17 Memo,
  chk0 Integer
);

CREATE TABLE RV18 (
  RV180 Text(10),
  RV181 Text(20)
);

CREATE TABLE RV18A (
  RV18A0 Text(10),
  RV18A1 Text(10),
  RV18A2 Text(8),
  RV18A3 Text(25),
  RV18A4 Text(10),
  RV18A6 Text(50),
  RV18A7 Text(20),
  RV18A8 Text(10),
  RV18A9 Text(30),
  RV18A10 Text(30),
  RV18A11 Text(30),
  RV18A12 Text(30),
  RV18A13 Text(30),
  RV18Ahttp Text(50),
  RV18A14 Memo,
  RV18A15 Text(50),
  RV18A16 Text(50),
  RV18A17 Text(255)
);
