-- Layout rows of TAMBRELSET, one per slip type display name. Positions are
-- in 0.1 mm; these are provisional until the form geometry fills them.
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ターンアラウンド用２型（２行印字）', 1, 0, 1, 'FormTR2.prn', 1, 1, '', '', 0, 0, 85, 9, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ＯＣＲ用２型（２行印字）', 2, 0, 1, 'FormOCR2.prn', 1, 1, '', '', 0, 0, 85, 9, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ターンアラウンド用２型（１行印字）', 3, 0, 1, 'FormTR2.prn', 1, 1, '', '', 0, 0, 85, 9, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ＯＣＲ用２型（１行印字）', 4, 0, 1, 'FormOCR2.prn', 1, 1, '', '', 0, 0, 85, 9, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ターンアラウンド用１型（２行印字）', 5, 0, 1, 'FormTR1.prn', 1, 1, '', '', 0, 0, 85, 6, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ＯＣＲ用１型（２行印字）', 6, 0, 1, 'FormOCR1.prn', 1, 1, '', '', 0, 0, 85, 6, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ターンアラウンド用１型（１行印字）', 7, 0, 1, 'FormTR1.prn', 1, 1, '', '', 0, 0, 85, 6, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('ＯＣＲ用１型（１行印字）', 8, 0, 1, 'FormOCR1.prn', 1, 1, '', '', 0, 0, 85, 6, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('タイプ用１型（１行印字）', 9, 0, 1, 'FormT1.prn', 1, 1, '', '', 0, 0, 85, 6, 42, 42);
INSERT INTO TAMBRELSET (DenName, ShowNo, NotShow, Use, FormName, Pr_Form, ShowPD, PrinterName, PaperName, Left_M, Top_M, HINMEI_Y_SKIP, HINMEI_GYOU, GOUKEI_GENKA_T_SKIP_X, GOUKEI_URI_T_SKIP_X)
  VALUES ('タイプ用１型（２行印字）', 10, 0, 1, 'FormT1.prn', 1, 1, '', '', 0, 0, 85, 6, 42, 42);
